#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "forms/handles.h"
#include "forms/picture.h"
#include "test_resources.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBackdrop = RGB(12, 34, 56);

// A 32-bit surface filled with the backdrop colour, to render on and read back.
struct Canvas {
  Canvas(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap = forms::UniqueBitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    previous = ::SelectObject(dc, bitmap.Get());
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(dc, kBackdrop);
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  }
  ~Canvas() {
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }

  HDC dc = ::CreateCompatibleDC(nullptr);
  forms::UniqueBitmap bitmap;
  HGDIOBJ previous = nullptr;
};

struct Pixel {
  int x, y;  // from the picture's top left
  COLORREF colour;
};

// The bitmaps have coloured corners in white; the GIF a red block (x 4..29, y 3..16) in its
// transparent colour, which must show the backdrop.
TEST(Pictures, KeepTheirSizeOrientationAndTransparency) {
  constexpr COLORREF kRed = RGB(255, 0, 0);
  const struct {
    const char* name;
    forms::Picture picture;
    SIZE size;
    std::vector<Pixel> pixels;
  } cases[] = {
      {"24-bit bitmap", forms::LoadResPicture(IDB_TEST_RGB24, forms::vbResBitmap), {13, 7},
       {{0, 0, kRed}, {12, 6, RGB(0, 0, 255)}, {1, 0, kWhite}, {-1, -1, kBackdrop}, {13, 7, kBackdrop}}},
      {"8-bit bitmap", forms::LoadResPicture(IDB_TEST_PAL8, forms::vbResBitmap), {10, 6},
       {{0, 0, RGB(0, 255, 0)}, {9, 5, RGB(255, 255, 0)}, {1, 0, kWhite}, {10, 6, kBackdrop}}},
      {"GIF", forms::Picture::FromGifResource(IDG_TEST_HOLE), {37, 23},
       {{0, 0, kBackdrop}, {36, 22, kBackdrop}, {3, 2, kBackdrop}, {4, 3, kRed}, {29, 16, kRed},
        {30, 17, kBackdrop}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.picture);
    EXPECT_EQ(c.picture.SizePixels().cx, c.size.cx);
    EXPECT_EQ(c.picture.SizePixels().cy, c.size.cy);
    Canvas canvas(c.size.cx + 4, c.size.cy + 4);
    c.picture.Render(canvas.dc, 2, 2);
    for (const Pixel& p : c.pixels) EXPECT_EQ(canvas.At(2 + p.x, 2 + p.y), p.colour) << p.x << ", " << p.y;
  }
  EXPECT_FALSE(forms::LoadResPicture(4242, forms::vbResBitmap));
}

}  // namespace
