// The sound container control.
#pragma once

#include <windows.h>

#include <string>

#include "forms/controls.h"

namespace forms {

// The sound container: holds an embedded wave (a resource of type "WAVE").
class SoundObject : public Control {
 public:
  explicit SoundObject(Form& owner) : Control(owner) {}
  void WaveResource(int id) { waveId_ = id; }
  // 7 activates the object: the wave plays once, without waiting for it.
  void Action(int verb);

  void Create(HWND) override {}
  bool Windowless() const override { return true; }

 private:
  int waveId_ = 0;
};

}  // namespace forms
