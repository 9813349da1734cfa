#include <windows.h>

#include "forms/app.h"
#include "forms/controls.h"

namespace forms {

void Image::Picture(forms::Picture picture) {
  Changing();
  picture_ = std::move(picture);
  if (picture_) {
    const SIZE size = picture_.SizePixels();
    width_ = PixelsToTwipsX(size.cx);
    height_ = PixelsToTwipsY(size.cy);
  }
  Relayout();
}

void Image::Paint(HDC dc) const {
  const RECT r = PixelRect();
  picture_.Render(dc, r.left, r.top);
}

}  // namespace forms
