#include "forms/picture.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "forms/handles.h"
#include "forms/ole.h"
#include "forms/resource_data.h"
#include "forms/runtime_detail.h"

namespace forms {

class Picture::Impl {
 public:
  Impl(const BITMAPINFO* dib, const void* bits, Source source) : dib_(dib), bits_(bits), source_(source) {
    size_ = {dib->bmiHeader.biWidth, std::abs(dib->bmiHeader.biHeight)};
  }
  Impl(ComPtr<IPicture> picture, Source source) : picture_(std::move(picture)), source_(source) {
    picture_->get_Width(&himetricWidth_);
    picture_->get_Height(&himetricHeight_);
    size_ = {HimetricToPixels(himetricWidth_, LOGPIXELSX),
             HimetricToPixels(himetricHeight_, LOGPIXELSY)};
  }

  SIZE Size() const { return size_; }
  bool Opaque() const { return dib_ != nullptr; }
  Source From() const { return source_; }

  void Render(HDC dc, int x, int y) const {
    if (picture_) {
      // The source rectangle runs bottom-up in HIMETRIC, hence the negative height.
      picture_->Render(dc, x, y, size_.cx, size_.cy, 0, himetricHeight_, himetricWidth_,
                       -himetricHeight_, nullptr);
      return;
    }
    ::SetDIBitsToDevice(dc, x, y, size_.cx, size_.cy, 0, 0, 0, size_.cy, bits_, dib_, DIB_RGB_COLORS);
  }

 private:
  static LONG HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int axis) {
    constexpr int kHimetricPerInch = 2540;
    return ::MulDiv(himetric, ScreenDpi(axis), kHimetricPerInch);
  }

  const BITMAPINFO* dib_ = nullptr;  // in the module's resources, mapped while the process runs
  const void* bits_ = nullptr;
  ComPtr<IPicture> picture_;
  OLE_XSIZE_HIMETRIC himetricWidth_ = 0;
  OLE_YSIZE_HIMETRIC himetricHeight_ = 0;
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
  const uint64_t stride = (static_cast<uint64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
  const uint64_t pixels = stride * static_cast<uint64_t>(std::abs(static_cast<int64_t>(header.biHeight)));
  const bool whole = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
  if (!whole || colors > 256 || offset + pixels > bytes.size()) return 0;
  return static_cast<size_t>(offset);
}

// OleLoadPicture reads from a stream; the stream gets its own copy of the resource bytes.
ComPtr<IStream> StreamOverResource(int id, const wchar_t* type) {
  ComPtr<IStream> stream;
  const std::string_view bytes = ResourceBytes(type, id);
  if (bytes.empty()) return stream;
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!copy) return stream;
  std::memcpy(::GlobalLock(copy), bytes.data(), bytes.size());
  ::GlobalUnlock(copy);
  if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, stream.Put()))) ::GlobalFree(copy);
  return stream;
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
  EnsureOleOnThisThread();
  ComPtr<IStream> stream = StreamOverResource(id, L"GIF");
  if (!stream) return Picture();
  ComPtr<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.Get(), 0, FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Put()))) ||
      !picture) {
    return Picture();
  }
  return Picture(std::make_shared<const Impl>(std::move(picture), Source{Source::Kind::Gif, id}));
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
