#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "forms/app.h"

namespace {

TEST(Twips, HalvesRoundToTheEvenNeighbour) {
  const struct {
    double value;
    int rounded;
  } cases[] = {{99.5, 100}, {100.5, 100}, {101.5, 102}, {0.5, 0},   {2.4999, 2},
               {2.5001, 3}, {-0.5, 0},    {-1.5, -2},   {-2.5, -2}, {-2.6, -3}};
  for (const auto& c : cases) EXPECT_EQ(forms::RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(Twips, ConvertAtTheScreenResolution) {
  HDC screen = ::GetDC(nullptr);
  const float tppX = 1440.0f / static_cast<float>(::GetDeviceCaps(screen, LOGPIXELSX));
  const float tppY = 1440.0f / static_cast<float>(::GetDeviceCaps(screen, LOGPIXELSY));
  ::ReleaseDC(nullptr, screen);
  EXPECT_FLOAT_EQ(forms::Screen::TwipsPerPixelX(), tppX);
  EXPECT_FLOAT_EQ(forms::Screen::TwipsPerPixelY(), tppY);
  for (const auto& [pixels, rounded] : {std::pair{99.5f, 100}, {100.5f, 100}, {-1.5f, -2}, {-7.25f, -7}}) {
    EXPECT_EQ(forms::TwipsToPixelsX(pixels * tppX), rounded) << pixels;
    EXPECT_EQ(forms::TwipsToPixelsY(pixels * tppY), rounded) << pixels;
  }
  EXPECT_FLOAT_EQ(forms::PixelsToTwipsX(308), 308 * tppX);
  EXPECT_FLOAT_EQ(forms::PixelsToTwipsY(-25), -25 * tppY);
}

}  // namespace
