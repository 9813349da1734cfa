#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "forms/picture.h"
#include "forms/resource_data.h"
#include "resource_ids.h"

namespace {

// Pixels drawn on a backdrop that is no colour of the art, so transparency shows.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = ::SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(dc_, RGB(1, 254, 3));
    ::FillRect(dc_, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  }
  ~Canvas() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  std::vector<uint32_t> Pixels() const {
    ::GdiFlush();
    return {bits_, bits_ + static_cast<size_t>(width_) * height_};
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// The same GIF as the system's OLE picture loader draws it.
void RenderWithOle(int id, HDC dc, SIZE size) {
  const std::string_view bytes = forms::ResourceBytes(L"GIF", id);
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(copy), bytes.data(), bytes.size());
  ::GlobalUnlock(copy);
  IStream* stream = nullptr;
  ASSERT_EQ(::CreateStreamOnHGlobal(copy, TRUE, &stream), S_OK);
  IPicture* picture = nullptr;
  ASSERT_EQ(::OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  picture->Render(dc, 0, 0, size.cx, size.cy, 0, h, w, -h, nullptr);
  picture->Release();
  stream->Release();
}

// The runtime decodes GIFs itself; the program's art must look as the system draws it.
TEST(Pictures, EveryGifOfTheProgramDrawsAsTheSystemsPictureLoaderDrawsIt) {
  ::CoInitialize(nullptr);
  for (int id : {IDG_PLAYLIST_TAB, IDG_LOGO, IDG_SPLASH}) {
    SCOPED_TRACE(id);
    const forms::Picture ours = forms::Picture::FromGifResource(id);
    ASSERT_TRUE(ours);
    const SIZE size = ours.SizePixels();
    Canvas decoded(size.cx, size.cy), system(size.cx, size.cy);
    ours.Render(decoded.Dc(), 0, 0);
    RenderWithOle(id, system.Dc(), size);
    const std::vector<uint32_t> mine = decoded.Pixels(), theirs = system.Pixels();
    size_t differing = 0;
    for (size_t i = 0; i < mine.size(); ++i) differing += (mine[i] & 0xFFFFFF) != (theirs[i] & 0xFFFFFF);
    EXPECT_EQ(differing, 0u) << "of " << mine.size() << " pixels";
  }
  ::CoUninitialize();
}

}  // namespace
