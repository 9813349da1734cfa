#include "shared/fade_engine.h"

namespace sonbrel {

FadeTick FadeEngine::Advance() {
  FadeAlpha = static_cast<int16_t>(FadeAlpha + FadeStep);
  if (FadeAlpha <= 0) return {FadeTick::Kind::FadedOut, FadeAlpha};
  if (FadeAlpha < 255) return {FadeTick::Kind::ApplyAlpha, FadeAlpha};
  return {FadeTick::Kind::BecomeOpaque, FadeAlpha};
}

void FadeEngine::Tick() {
  const FadeTick tick = Advance();
  switch (tick.kind) {
    case FadeTick::Kind::ApplyAlpha:
      ApplyAlpha(window_.hWnd(), tick.alpha);
      break;
    case FadeTick::Kind::BecomeOpaque:
      SetLayered(window_.hWnd(), false);
      timer_.Enabled(false);
      break;
    case FadeTick::Kind::FadedOut:
      onFadedOut_();
      timer_.Enabled(false);
      break;
  }
}

void FadeEngine::BeginFadeIn() {
  FadeAlpha = kFadeStep;
  FadeStep = kFadeStep;
  timer_.Interval(kFadeIntervalMs);
  SetLayered(window_.hWnd(), true);
  ApplyAlpha(window_.hWnd(), 0);
}

void FadeEngine::BeginFadeOut() {
  // A layered window without its alpha is not drawn at all until the next tick.
  SetLayered(window_.hWnd(), true);
  ApplyAlpha(window_.hWnd(), FadeAlpha);
  timer_.Enabled(true);
  FadeStep = -kFadeStep;
}

void FadeEngine::SetLayered(HWND window, bool layered) {
  LONG style = ::GetWindowLongA(window, GWL_EXSTYLE);
  style = layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED);
  ::SetWindowLongA(window, GWL_EXSTYLE, style);
}

void FadeEngine::ApplyAlpha(HWND window, int16_t alpha) {
  ::SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

}  // namespace sonbrel
