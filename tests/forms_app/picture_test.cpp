#include <windows.h>

#include <gtest/gtest.h>

#include "forms/picture.h"
#include "test_resources.h"

namespace {

// A 32-bit drawing surface filled with one colour, to render on and read back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = ::SelectObject(dc_, bitmap_);
    HBRUSH brush = ::CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    ::FillRect(dc_, &all, brush);
    ::DeleteObject(brush);
  }
  ~Canvas() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBackdrop = RGB(12, 34, 56);

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
    EXPECT_NE(picture.Bitmap(), nullptr);
    EXPECT_EQ(picture.SizePixels().cx, c.size.cx);
    EXPECT_EQ(picture.SizePixels().cy, c.size.cy);

    Canvas canvas(c.size.cx + 4, c.size.cy + 4, kBackdrop);
    picture.Render(canvas.Dc(), 2, 2);
    EXPECT_EQ(canvas.At(2, 2), c.topLeft);
    EXPECT_EQ(canvas.At(1 + c.size.cx, 1 + c.size.cy), c.bottomRight);
    EXPECT_EQ(canvas.At(3, 2), kWhite);
    EXPECT_EQ(canvas.At(1, 1), kBackdrop);
    EXPECT_EQ(canvas.At(2 + c.size.cx, 2 + c.size.cy), kBackdrop);
  }
}

TEST(LoadResPicture, MissingResourceGivesNoPicture) {
  const forms::Picture none = forms::LoadResPicture(4242, forms::vbResBitmap);
  EXPECT_FALSE(none);
  EXPECT_EQ(none.SizePixels().cx, 0);
  EXPECT_EQ(none.Bitmap(), nullptr);
  EXPECT_FALSE(forms::Picture::FromGifResource(4242));
}

TEST(GifPicture, KeepsItsSizeAndTransparentColour) {
  const forms::Picture gif = forms::Picture::FromGifResource(IDG_TEST_HOLE);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif.Bitmap(), nullptr);
  EXPECT_EQ(gif.SizePixels().cx, 37);
  EXPECT_EQ(gif.SizePixels().cy, 23);

  Canvas canvas(50, 40, kBackdrop);
  gif.Render(canvas.Dc(), 3, 4);
  // Around the block is the transparent colour: the backdrop shows through it.
  EXPECT_EQ(canvas.At(3, 4), kBackdrop);
  EXPECT_EQ(canvas.At(3 + 36, 4 + 22), kBackdrop);
  EXPECT_EQ(canvas.At(3 + 3, 4 + 2), kBackdrop);
  // The block (x 4..29, y 3..16) is opaque and in place, not stretched or flipped.
  EXPECT_EQ(canvas.At(3 + 4, 4 + 3), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(3 + 29, 4 + 16), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(3 + 30, 4 + 17), kBackdrop);
}

}  // namespace
