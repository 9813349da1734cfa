#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "forms/handles.h"
#include "forms/picture.h"
#include "test_resources.h"

namespace {

// The GIF is a red block (x 4..29, y 3..16) in its transparent colour, which must show the
// backdrop; bitmaps are the system's loading, seen on the screen by the program's tests.
TEST(Pictures, AGifKeepsItsSizeAndTransparency) {
  constexpr COLORREF kBackdrop = RGB(12, 34, 56), kRed = RGB(255, 0, 0);
  const forms::Picture gif = forms::Picture::FromGifResource(IDG_TEST_HOLE);
  EXPECT_EQ(gif.SizePixels().cx, 37);
  EXPECT_EQ(gif.SizePixels().cy, 23);
  // Rendered at (2, 2) on a 32-bit surface filled with the backdrop.
  HDC dc = ::CreateCompatibleDC(nullptr);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 41, -27, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  forms::UniqueBitmap surface(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HGDIOBJ previous = ::SelectObject(dc, surface.Get());
  const RECT all{0, 0, 41, 27};
  ::SetDCBrushColor(dc, kBackdrop);
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  gif.Render(dc, 2, 2);
  for (auto [x, y, colour] : {std::tuple{3, 2, kBackdrop}, {4, 3, kRed}, {29, 16, kRed}, {30, 17, kBackdrop}})
    EXPECT_EQ(::GetPixel(dc, 2 + x, 2 + y), colour) << x << ", " << y;
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  EXPECT_FALSE(forms::LoadResPicture(4242, forms::vbResBitmap));
}

}  // namespace
