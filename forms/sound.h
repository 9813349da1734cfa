// The sound container control.
#pragma once

#include <windows.h>

#include <string>

#include "forms/controls.h"

namespace forms {

// The verb that activates an embedded object.
constexpr int vbOLEActivate = 7;

// The sound container: holds an embedded wave (a resource of type "WAVE").
class SoundObject : public Control {
 public:
  explicit SoundObject(Form& owner) : Control(owner) {}
  void WaveResource(int id) { waveId_ = id; }
  // vbOLEActivate plays the wave once, without waiting for it; other verbs do nothing.
  void Action(int verb);

 private:
  void Create(HWND) override {}
  bool Windowless() const override { return true; }

  int waveId_ = 0;
};

}  // namespace forms
