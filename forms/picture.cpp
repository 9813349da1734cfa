#include "forms/picture.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "forms/gif.h"
#include "forms/resource_data.h"

namespace forms {

class Picture::Impl {
 public:
  Impl(const BITMAPINFO* dib, const void* bits, Source source) : dib_(dib), bits_(bits), source_(source) {
    size_ = {dib->bmiHeader.biWidth, std::abs(dib->bmiHeader.biHeight)};
  }
  Impl(GifImage gif, Source source) : gif_(std::move(gif)), source_(source) { size_ = {gif_.width, gif_.height}; }

  SIZE Size() const { return size_; }
  bool Opaque() const { return dib_ != nullptr; }
  Source From() const { return source_; }

  void Render(HDC dc, int x, int y) const {
    if (dib_) {
      ::SetDIBitsToDevice(dc, x, y, size_.cx, size_.cy, 0, 0, 0, size_.cy, bits_, dib_, DIB_RGB_COLORS);
      return;
    }
    const BITMAPINFO colours{{sizeof(BITMAPINFOHEADER), size_.cx, size_.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    if (gif_.mask.empty()) {
      ::SetDIBitsToDevice(dc, x, y, size_.cx, size_.cy, 0, 0, 0, size_.cy, gif_.pixels.data(), &colours,
                          DIB_RGB_COLORS);
      return;
    }
    // Black where the picture shows, white where it is transparent: ANDed, it clears what the
    // picture covers; the picture, black where transparent, is then ORed into the hole.
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[2];
    } mask{{sizeof(BITMAPINFOHEADER), size_.cx, size_.cy, 1, 1, BI_RGB, 0, 0, 0, 0, 0},
           {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    ::StretchDIBits(dc, x, y, size_.cx, size_.cy, 0, 0, size_.cx, size_.cy, gif_.mask.data(),
                    reinterpret_cast<const BITMAPINFO*>(&mask), DIB_RGB_COLORS, SRCAND);
    ::StretchDIBits(dc, x, y, size_.cx, size_.cy, 0, 0, size_.cx, size_.cy, gif_.pixels.data(), &colours,
                    DIB_RGB_COLORS, SRCPAINT);
  }

 private:
  const BITMAPINFO* dib_ = nullptr;  // in the module's resources, mapped while the process runs
  const void* bits_ = nullptr;
  GifImage gif_;
  SIZE size_{};
  Source source_;
};

namespace {

// Where the pixels of a packed DIB start; 0 when the bytes are not one this runtime draws.
size_t PixelOffset(std::string_view bytes) {
  BITMAPINFOHEADER header{};
  if (bytes.size() < sizeof header) return 0;
  std::memcpy(&header, bytes.data(), sizeof header);
  if (header.biSize < sizeof header || header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1)
    return 0;
  const uint64_t colors = header.biClrUsed ? header.biClrUsed : header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
  const uint64_t masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof header ? 3 : 0;
  const uint64_t offset = header.biSize + (colors + masks) * sizeof(RGBQUAD);
  const uint64_t stride = DibStride(header.biWidth, header.biBitCount);
  const uint64_t pixels = stride * static_cast<uint64_t>(std::abs(static_cast<int64_t>(header.biHeight)));
  const bool whole = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
  if (!whole || colors > 256 || offset + pixels > bytes.size()) return 0;
  return static_cast<size_t>(offset);
}

}  // namespace

// A bitmap resource is a DIB without its file header: the header, the colours, then the pixels.
// The pixels are drawn from the resource itself, so a picture needs no bitmap of its own.
Picture Picture::FromBitmapResource(int id) {
  const std::string_view bytes = ResourceBytes(MAKEINTRESOURCEW(2) /* RT_BITMAP */, id);
  const size_t offset = PixelOffset(bytes);
  if (!offset) return Picture();
  const auto* dib = reinterpret_cast<const BITMAPINFO*>(bytes.data());
  return Picture(std::make_shared<const Impl>(dib, bytes.data() + offset, Source{Source::Kind::Bitmap, id}));
}

Picture Picture::FromGifResource(int id) {
  std::optional<GifImage> gif = DecodeGif(ResourceBytes(L"GIF", id));
  if (!gif) return Picture();
  return Picture(std::make_shared<const Impl>(std::move(*gif), Source{Source::Kind::Gif, id}));
}

SIZE Picture::SizePixels() const { return impl_ ? impl_->Size() : SIZE{0, 0}; }

void Picture::Render(HDC dc, int x, int y) const {
  if (impl_) impl_->Render(dc, x, y);
}

bool Picture::Opaque() const { return impl_ && impl_->Opaque(); }

bool Picture::SameLook(const Picture& other) const {
  if (!impl_ || !other.impl_) return false;
  const Source mine = impl_->From(), theirs = other.impl_->From();
  return mine.kind == theirs.kind && mine.id == theirs.id;
}

Picture LoadResPicture(int id, int type) {
  return type == vbResBitmap ? Picture::FromBitmapResource(id) : Picture();
}

}  // namespace forms
