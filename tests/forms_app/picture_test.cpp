#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

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

TEST(LoadResPicture, BitmapsKeepTheirSizeAndOrientation) {
  const struct {
    int id;
    SIZE size;
    COLORREF topLeft, bottomRight;
  } cases[] = {
      {IDB_TEST_RGB24, {13, 7}, RGB(255, 0, 0), RGB(0, 0, 255)},
      {IDB_TEST_PAL8, {10, 6}, RGB(0, 255, 0), RGB(255, 255, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const forms::Picture picture = forms::LoadResPicture(c.id, forms::vbResBitmap);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.SizePixels().cx, c.size.cx);
    EXPECT_EQ(picture.SizePixels().cy, c.size.cy);
    Canvas canvas(c.size.cx + 4, c.size.cy + 4);
    picture.Render(canvas.dc, 2, 2);
    EXPECT_EQ(canvas.At(2, 2), c.topLeft);
    EXPECT_EQ(canvas.At(1 + c.size.cx, 1 + c.size.cy), c.bottomRight);
    EXPECT_EQ(canvas.At(3, 2), kWhite);
    EXPECT_EQ(canvas.At(1, 1), kBackdrop);
    EXPECT_EQ(canvas.At(2 + c.size.cx, 2 + c.size.cy), kBackdrop);
  }
  EXPECT_FALSE(forms::LoadResPicture(4242, forms::vbResBitmap));
}

TEST(GifPicture, KeepsItsSizeAndTransparentColour) {
  const forms::Picture gif = forms::Picture::FromGifResource(IDG_TEST_HOLE);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif.SizePixels().cx, 37);
  EXPECT_EQ(gif.SizePixels().cy, 23);
  Canvas canvas(50, 40);
  gif.Render(canvas.dc, 3, 4);
  // Around the red block (x 4..29, y 3..16) is the transparent colour, showing the backdrop.
  for (const auto& [x, y, colour] : {std::tuple{0, 0, kBackdrop}, {36, 22, kBackdrop}, {3, 2, kBackdrop},
                                    {4, 3, RGB(255, 0, 0)}, {29, 16, RGB(255, 0, 0)}, {30, 17, kBackdrop}}) {
    EXPECT_EQ(canvas.At(3 + x, 4 + y), colour) << x << ", " << y;
  }
}

}  // namespace
