// The main window: a borderless skin of pictures over the browser control that shows the
// station page. Members are defined one file per concern: Form1_layout.cpp (the layout table),
// Form1_lifecycle.cpp (load, unload, refresh), Form1_fade.cpp (the fade timer),
// Form1_about.cpp (the about pictures).
#pragma once

#include <cstdint>
#include <string>

#include "forms/forms.h"
#include "mainwindow/fade_engine.h"

namespace sonbrel {

// http:// + the build's web host + the page's path.
std::wstring StationPageAddress();

class Form1 : public forms::Form {
 public:
  Form1();

  // Controls, front to back.
  forms::CommandButton Command1{*this};
  forms::Timer Timer1{*this};
  forms::PictureBox Picture21{*this};
  forms::PictureBox Picture20{*this};
  forms::PictureBox Picture18{*this};
  forms::PictureBox Picture17{*this};
  forms::PictureBox Picture12{*this};
  forms::PictureBox Picture13{*this};
  forms::PictureBox Picture11{*this};
  forms::PictureBox Picture8{*this};
  forms::PictureBox Picture7{*this};
  forms::PictureBox Picture6{*this};
  forms::PictureBox Picture2{*this};
  forms::PictureBox Picture1{*this};
  forms::PictureBox Picture9{*this};
  forms::PictureBox Picture10{*this};
  forms::PictureBox Picture16{*this};
  forms::PictureBox Picture14{*this};
  forms::PictureBox Picture3{*this};
  forms::PictureBox Picture19{*this};
  forms::PictureBox Picture15{*this};
  forms::PictureBox Picture5{*this};
  forms::PictureBox Picture4{*this};
  forms::WebBrowser html{*this};

  // FadeAlpha and FadeStep live in the engine; the end action sets FadeDone and ends the process.
  FadeEngine Fade{*this, Timer1, [this] { FadeOutFinished(); }};
  int16_t FadeDone = 0;

  // The outline's parts. Each holds its region only until it is given to the window, which then
  // owns it; what is still held is deleted once, when overwritten or at unload.
  forms::UniqueRegion WindowRgn;
  forms::UniqueRegion LowerRgn;
  forms::UniqueRegion JoinedRgn;

  void Command1_Click();
  void Picture6_DblClick();
  void Picture9_Click();
  void Picture20_Click();
  void Timer1_Timer();

 protected:
  void Form_Load() override;
  void Form_Unload(int16_t& Cancel) override;

 private:
  void PlaceControls();
  void ConnectHandlers();
  void ConnectAboutHandlers();
  void CutToRoundedRectangle();
  void ReleaseHeldRegions();
  void FadeOutFinished();
};

// Gives the region to the window, which owns it from then on.
void GiveRegionToWindow(HWND window, forms::UniqueRegion& region);

}  // namespace sonbrel
