// The splash window: the single-instance guard, then a shaped, fading picture with a sound that
// hands over to the main window.
#pragma once

#include <cstdint>

#include "forms/forms.h"
#include "shared/fade_engine.h"

namespace sonbrel {

class title : public forms::Form {
 public:
  title();

  // Ends the process when another copy runs, after bringing that copy's window to the front.
  void CheckExist(forms::Form& fm);

  forms::Timer Timer2{*this};
  forms::Timer Timer1{*this};
  forms::SoundObject OLE1{*this};
  forms::Image Image1{*this};

  // Connected by the program: the main window takes over once the splash has faded out.
  forms::Event HandOver;
  FadeEngine Fade{*this, Timer1, [this] {
    if (HandOver) HandOver();
  }};

  void Timer1_Timer() { Fade.Tick(); }
  void Timer2_Timer();
  void Image1_Click();

 protected:
  void Form_Load() override;
  void Form_Unload(int16_t& Cancel) override;

 private:
  void PrepareDrawingSurface();
  void CutToEllipse();
};

}  // namespace sonbrel
