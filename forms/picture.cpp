#include "forms/picture.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>

#include "forms/handles.h"
#include "forms/ole.h"
#include "forms/resource_data.h"
#include "forms/runtime_detail.h"

namespace forms {

class Picture::Impl {
 public:
  Impl(UniqueBitmap bitmap, Source source) : bitmap_(std::move(bitmap)), source_(source) {
    BITMAP info{};
    ::GetObjectW(bitmap_.Get(), sizeof info, &info);
    size_ = {info.bmWidth, std::abs(info.bmHeight)};
  }
  Impl(ComPtr<IPicture> picture, Source source) : picture_(std::move(picture)), source_(source) {
    picture_->get_Width(&himetricWidth_);
    picture_->get_Height(&himetricHeight_);
    size_ = {HimetricToPixels(himetricWidth_, LOGPIXELSX),
             HimetricToPixels(himetricHeight_, LOGPIXELSY)};
  }

  SIZE Size() const { return size_; }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  Source From() const { return source_; }

  void Render(HDC dc, int x, int y) const {
    if (picture_) {
      // The source rectangle runs bottom-up in HIMETRIC, hence the negative height.
      picture_->Render(dc, x, y, size_.cx, size_.cy, 0, himetricHeight_, himetricWidth_,
                       -himetricHeight_, nullptr);
      return;
    }
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    SelectedObject selected(memory.Get(), bitmap_.Get());
    ::BitBlt(dc, x, y, size_.cx, size_.cy, memory.Get(), 0, 0, SRCCOPY);
  }

 private:
  static LONG HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int axis) {
    constexpr int kHimetricPerInch = 2540;
    return ::MulDiv(himetric, ScreenDpi(axis), kHimetricPerInch);
  }

  UniqueBitmap bitmap_;
  ComPtr<IPicture> picture_;
  OLE_XSIZE_HIMETRIC himetricWidth_ = 0;
  OLE_YSIZE_HIMETRIC himetricHeight_ = 0;
  SIZE size_{};
  Source source_;
};

namespace {

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

Picture Picture::FromBitmapResource(int id) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) return Picture();
  return Picture(std::make_shared<const Impl>(std::move(bitmap), Source{Source::Kind::Bitmap, id}));
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

HBITMAP Picture::Bitmap() const { return impl_ ? impl_->Bitmap() : nullptr; }

bool Picture::SameLook(const Picture& other) const {
  if (!impl_ || !other.impl_) return false;
  const Source mine = impl_->From(), theirs = other.impl_->From();
  return mine.kind == theirs.kind && mine.id == theirs.id;
}

Picture LoadResPicture(int id, int type) {
  return type == vbResBitmap ? Picture::FromBitmapResource(id) : Picture();
}

}  // namespace forms
