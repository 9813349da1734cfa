// The opacity ramp of the splash and the main window: a 5 ms timer adds the step to the alpha and
// applies it; at 255 or more the window turns plain opaque and the timer stops, at 0 or less the
// window's own end action runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "forms/forms.h"

namespace sonbrel {

constexpr int16_t kFadeStep = 5;
constexpr unsigned kFadeIntervalMs = 5;

// What one tick comes to.
struct FadeTick {
  enum class Kind { ApplyAlpha, BecomeOpaque, FadedOut } kind;
  int16_t alpha;
};

class FadeEngine {
 public:
  FadeEngine(forms::Form& window, forms::Timer& timer, std::function<void()> onFadedOut)
      : window_(window), timer_(timer), onFadedOut_(std::move(onFadedOut)) {}

  // One tick: Advance, then apply its outcome to the window, the timer and the end action.
  void Tick();
  // Ramp up on a 5 ms timer from a window made layered and transparent at once; the first tick
  // applies 10.
  void BeginFadeIn();
  // The unload request's turn: layered again, timer on, stepping down from where it stands.
  void BeginFadeOut();
  bool FadedOut() const { return FadeAlpha <= 0 && FadeStep < 0; }

 private:
  // The window's extended style with or without WS_EX_LAYERED, and its alpha.
  static void SetLayered(HWND window, bool layered);
  static void ApplyAlpha(HWND window, int16_t alpha);
  // The arithmetic of one tick, without touching the window.
  FadeTick Advance();

  int16_t FadeAlpha = 0;
  int16_t FadeStep = 0;
  forms::Form& window_;
  forms::Timer& timer_;
  std::function<void()> onFadedOut_;
};

}  // namespace sonbrel
