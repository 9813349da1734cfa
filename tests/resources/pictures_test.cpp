#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "forms/picture.h"
#include "forms/resource_data.h"
#include "resource_ids.h"

namespace {

// The pixels something draws on a backdrop of no colour of the art, so transparency shows.
std::vector<uint32_t> Drawn(SIZE size, const std::function<void(HDC)>& draw) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  uint32_t* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  HGDIOBJ previous = ::SelectObject(dc, bitmap);
  const RECT all{0, 0, size.cx, size.cy};
  ::SetDCBrushColor(dc, RGB(1, 254, 3));
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  draw(dc);
  ::GdiFlush();
  std::vector<uint32_t> pixels(bits, bits + size.cx * size.cy);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  ::SelectObject(dc, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return pixels;
}

// The same GIF as the system's OLE picture loader draws it.
void DrawWithOle(int id, HDC dc, SIZE size) {
  const std::string_view bytes = forms::ResourceBytes(L"GIF", id);
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(copy), bytes.data(), bytes.size());
  ::GlobalUnlock(copy);
  IStream* stream = nullptr;
  IPicture* picture = nullptr;
  ASSERT_EQ(::CreateStreamOnHGlobal(copy, TRUE, &stream), S_OK);
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
    const forms::Picture ours = forms::Picture::FromGifResource(id);
    ASSERT_TRUE(ours) << id;
    const SIZE size = ours.SizePixels();
    EXPECT_TRUE(Drawn(size, [&](HDC dc) { ours.Render(dc, 0, 0); }) ==
                Drawn(size, [&](HDC dc) { DrawWithOle(id, dc, size); }))
        << id;
  }
  ::CoUninitialize();
}

}  // namespace
