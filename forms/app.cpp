#include "forms/app.h"

#include <cmath>

namespace forms {
namespace {

constexpr float kTwipsPerInch = 1440.0f;

int ScreenDpi(int axis) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, axis);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

namespace Screen {
float TwipsPerPixelX() { return kTwipsPerInch / static_cast<float>(ScreenDpi(LOGPIXELSX)); }
float TwipsPerPixelY() { return kTwipsPerInch / static_cast<float>(ScreenDpi(LOGPIXELSY)); }
}  // namespace Screen

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int TwipsToPixelsX(float twips) {
  return RoundHalfEven(static_cast<double>(twips) / Screen::TwipsPerPixelX());
}
int TwipsToPixelsY(float twips) {
  return RoundHalfEven(static_cast<double>(twips) / Screen::TwipsPerPixelY());
}
float PixelsToTwipsX(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelX(); }
float PixelsToTwipsY(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelY(); }

}  // namespace forms
