// Every resource the program loads, read back the way Windows finds it in the module.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resource_ids.h"
#include "version.h"

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kGlyph = 0x263C70;  // the dark ink of every button glyph

struct Bytes {
  const uint8_t* data = nullptr;
  DWORD size = 0;
  template <class T>
  T At(size_t offset) const {
    T value{};
    if (offset + sizeof(T) <= size) std::memcpy(&value, data + offset, sizeof(T));
    return value;
  }
};

Bytes Find(LPCWSTR type, int id) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceExW(self, type, MAKEINTRESOURCEW(id), kChinese);
  if (!found) return {};
  return {static_cast<const uint8_t*>(::LockResource(::LoadResource(self, found))), ::SizeofResource(self, found)};
}

// A packed DIB as stored for RT_BITMAP (and RT_ICON, without the mask).
class Dib {
 public:
  explicit Dib(Bytes b) : b_(b), info_(b.At<BITMAPINFOHEADER>(0)) {}
  const BITMAPINFOHEADER& Info() const { return info_; }
  int Width() const { return info_.biWidth; }
  int Height() const { return info_.biHeight; }
  size_t PaletteBytes() const { return info_.biBitCount <= 8 ? 4 * PaletteEntries() : 0; }
  size_t PaletteEntries() const { return info_.biClrUsed ? info_.biClrUsed : (1u << info_.biBitCount); }
  size_t Stride() const { return ((Width() * info_.biBitCount + 31) / 32) * 4; }
  size_t ExpectedSize() const { return info_.biSize + PaletteBytes() + Stride() * Height(); }
  // 0xRRGGBB at (x, y) counted from the top.
  uint32_t Pixel(int x, int y) const {
    size_t row = info_.biSize + PaletteBytes() + Stride() * (Height() - 1 - y);
    size_t at = row + x * info_.biBitCount / 8;
    if (info_.biBitCount == 8) at = info_.biSize + 4 * b_.data[at];
    return b_.data[at] | b_.data[at + 1] << 8 | b_.data[at + 2] << 16;
  }

 private:
  Bytes b_;
  BITMAPINFOHEADER info_;
};

Dib Bitmap(int id) { return Dib(Find(RT_BITMAP, id)); }

int Luma(uint32_t rgb) { return (299 * (rgb >> 16) + 587 * (rgb >> 8 & 0xFF) + 114 * (rgb & 0xFF)) / 1000; }

// ---- bitmaps -------------------------------------------------------------------------------

struct BitmapItem {
  int id;
  int width, height, bits;
};

const BitmapItem kBitmaps[] = {
    {101, 17, 19, 8}, {102, 17, 19, 8}, {103, 17, 19, 8}, {104, 17, 19, 8}, {105, 17, 19, 8},
    {106, 17, 19, 8}, {107, 17, 19, 8}, {108, 17, 19, 8}, {109, 17, 19, 8},
    {110, 12, 10, 24}, {111, 12, 10, 24}, {112, 12, 10, 24}, {113, 12, 10, 24}, {114, 12, 10, 24},
    {115, 12, 10, 24}, {116, 12, 10, 24}, {117, 12, 10, 24}, {118, 12, 10, 24}, {119, 12, 10, 24},
    {120, 12, 10, 24}, {121, 12, 10, 24},
    {IDB_PICTURE3, 75, 30, 24}, {IDB_PICTURE5, 174, 30, 24}, {IDB_PICTURE4, 102, 30, 24},
    {IDB_PICTURE6, 6, 64, 24}, {IDB_PICTURE7, 7, 64, 24}, {IDB_PICTURE8, 308, 29, 24},
    {IDB_PICTURE14, 29, 25, 24}, {IDB_PICTURE15, 27, 25, 24}, {IDB_PICTURE16, 236, 1, 24},
    {IDB_PICTURE17, 236, 1, 24}, {IDB_BANNER, 374, 65, 24},
};

TEST(Bitmaps, HaveTheirSizeDepthAndPaletteInChinese) {
  for (const auto& item : kBitmaps) {
    SCOPED_TRACE("bitmap " + std::to_string(item.id));
    Bytes raw = Find(RT_BITMAP, item.id);
    ASSERT_NE(raw.data, nullptr);
    Dib dib(raw);
    EXPECT_EQ(dib.Info().biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(dib.Width(), item.width);
    EXPECT_EQ(dib.Height(), item.height);  // positive: bottom-up, as LoadImage expects
    EXPECT_EQ(dib.Info().biPlanes, 1);
    EXPECT_EQ(dib.Info().biBitCount, item.bits);
    EXPECT_EQ(dib.Info().biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(dib.Info().biClrUsed, item.bits == 8 ? 256u : 0u);
    EXPECT_EQ(raw.size, dib.ExpectedSize());

    HANDLE loaded = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(item.id), IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION);
    ASSERT_NE(loaded, nullptr);
    BITMAP bm{};
    ::GetObjectW(loaded, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, item.width);
    EXPECT_EQ(bm.bmHeight, item.height);
    ::DeleteObject(loaded);
  }
}

std::set<std::pair<int, int>> GlyphOf(const Dib& dib) {
  std::set<std::pair<int, int>> ink;
  for (int y = 0; y < dib.Height(); ++y)
    for (int x = 0; x < dib.Width(); ++x)
      if (dib.Pixel(x, y) == kGlyph) ink.insert({x, y});
  return ink;
}

double MeanLumaOfFace(const Dib& dib, const std::set<std::pair<int, int>>& ink) {
  double sum = 0;
  int n = 0;
  for (int y = 2; y < dib.Height() - 2; ++y)
    for (int x = 2; x < dib.Width() - 2; ++x)
      if (!ink.count({x, y})) sum += Luma(dib.Pixel(x, y)), ++n;
  return sum / n;
}

TEST(ButtonLooks, KeepOneCentredGlyphLightenOnHoverAndDarkenWhenPressed) {
  for (int normal = 101; normal <= 119; normal += 3) {
    SCOPED_TRACE("triple " + std::to_string(normal));
    Dib n = Bitmap(normal), hover = Bitmap(normal + 1), pressed = Bitmap(normal + 2);
    auto ink = GlyphOf(n);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(GlyphOf(hover), ink);
    EXPECT_EQ(GlyphOf(pressed), ink);

    int left = n.Width(), right = 0, top = n.Height(), bottom = 0;
    for (auto [x, y] : ink) left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                            bottom = std::max(bottom, y);
    EXPECT_NEAR((left + right) / 2.0, (n.Width() - 1) / 2.0, 0.5);
    EXPECT_NEAR((top + bottom) / 2.0, (n.Height() - 1) / 2.0, 0.5);

    // The frame lies on the edge, its rounded corners leave the face showing.
    int mid = n.Height() / 2;
    EXPECT_GT(Luma(hover.Pixel(0, mid)), Luma(n.Pixel(0, mid)) + 8);
    EXPECT_LT(Luma(pressed.Pixel(0, mid)), Luma(n.Pixel(0, mid)) - 40);
    EXPECT_EQ(hover.Pixel(0, 0), n.Pixel(0, 0));
    EXPECT_EQ(pressed.Pixel(0, 0), n.Pixel(0, 0));
    EXPECT_GT(MeanLumaOfFace(hover, ink), MeanLumaOfFace(n, ink));
    EXPECT_LT(MeanLumaOfFace(pressed, ink), MeanLumaOfFace(n, ink) - 10);
  }
}

// The normal look is the strip behind the button plus the glyph, so the two cannot be told apart.
TEST(ButtonLooks, NormalLooksMatchTheFaceTheyLieOn) {
  struct Placement {
    int button, picture, x, y;
  };
  const Placement placements[] = {
      {IDB_MINIMIZE_NORMAL, IDB_PICTURE4, 250 - 207, 4 + 1}, {IDB_MINIMODE_NORMAL, IDB_PICTURE4, 268 - 207, 5},
      {IDB_CLOSE_NORMAL, IDB_PICTURE4, 286 - 207, 5},       {IDB_CLOSE_NORMAL, IDB_PICTURE8, 286, 165 - 158},
      {IDB_MINI_ABOUT_NORMAL, IDB_PICTURE15, 1, 1},          {IDB_MINI_EXIT_NORMAL, IDB_PICTURE15, 13, 1},
      {IDB_MINI_MINIMIZE_NORMAL, IDB_PICTURE15, 1, 12},      {IDB_MINI_NORMALMODE_NORMAL, IDB_PICTURE15, 13, 12},
  };
  for (const auto& p : placements) {
    SCOPED_TRACE("button " + std::to_string(p.button) + " on " + std::to_string(p.picture));
    Dib button = Bitmap(p.button), face = Bitmap(p.picture);
    int differing = 0;
    for (int y = 0; y < button.Height(); ++y)
      for (int x = 0; x < button.Width(); ++x) {
        bool edge = x == 0 || y == 0 || x == button.Width() - 1 || y == button.Height() - 1;
        if (edge && button.Pixel(x, y) != face.Pixel(p.x + x, p.y + y)) ++differing;
        // Picture15 carries the four small glyphs themselves.
        if (p.picture == IDB_PICTURE15 && button.Pixel(x, y) != face.Pixel(p.x + x, p.y + y)) ++differing;
      }
    EXPECT_EQ(differing, 0);
  }
}

TEST(SkinPictures, Picture3IsMagentaOnlyOutsideTheWindowAndItsNameEndsAtX70) {
  Dib p3 = Bitmap(IDB_PICTURE3), p5 = Bitmap(IDB_PICTURE5);
  for (int x = 0; x < p3.Width(); ++x) EXPECT_EQ(p3.Pixel(x, 0), kMagenta) << "top row, x " << x;
  for (int y = 0; y < p3.Height(); ++y) EXPECT_EQ(p3.Pixel(0, y), kMagenta) << "left column, y " << y;

  // The picture sits at window pixel (-1, -1); the window's outline at start.
  HRGN outline = ::CreateRoundRectRgn(0, 0, 309, 162, 11, 11);
  int corner_magenta = 0;
  for (int y = 1; y < p3.Height(); ++y)
    for (int x = 1; x < p3.Width(); ++x)
      if (p3.Pixel(x, y) == kMagenta) {
        EXPECT_FALSE(::PtInRegion(outline, x - 1, y - 1)) << "visible magenta at " << x << "," << y;
        ++corner_magenta;
      }
  ::DeleteObject(outline);
  EXPECT_GE(corner_magenta, 6);  // the cut of the rounded corner

  // Past the logo, ink is whatever differs from the plain strip of the same row.
  int last_ink = -1;
  for (int y = 2; y < 27; ++y)
    for (int x = 24; x < p3.Width(); ++x)
      if (p3.Pixel(x, y) != p5.Pixel(10, y)) last_ink = std::max(last_ink, x);
  EXPECT_EQ(last_ink, 70);
}

TEST(SkinPictures, MiniBarLinesHaveTheirColours) {
  const std::pair<int, uint32_t> lines[] = {{IDB_PICTURE16, 0x7192C3}, {IDB_PICTURE17, 0x294061}};
  for (auto [id, colour] : lines) {
    Dib line = Bitmap(id);
    for (int x = 0; x < line.Width(); ++x) ASSERT_EQ(line.Pixel(x, 0), colour) << id << " at " << x;
  }
}

TEST(SkinPictures, Picture8IsALowerEdgeAboveARoundedPanelStrip) {
  Dib p8 = Bitmap(IDB_PICTURE8);
  // Rows 0-2 close the player, row 3 (window row 161) opens the panel: a dark seam of two rows.
  EXPECT_EQ(p8.Pixel(150, 3), p8.Pixel(150, 2));
  EXPECT_LT(Luma(p8.Pixel(150, 3)), Luma(p8.Pixel(150, 8)) - 60);
  // The panel's top corners follow its rounded outline: the outline bends in where a square
  // strip would show its face.
  for (int x : {1, 306}) EXPECT_LT(Luma(p8.Pixel(x, 5)), Luma(p8.Pixel(150, 5)) - 60) << x;
}

// ---- GIFs ----------------------------------------------------------------------------------

struct GifShape {
  int width = 0, height = 0, frames = 0;
  bool transparent = false;
  uint32_t transparent_colour = 0;
  bool well_formed = false;
};

// Walks the blocks of a GIF without decoding the pixels.
GifShape ReadGif(Bytes b) {
  GifShape s;
  if (b.size < 13 || (std::memcmp(b.data, "GIF89a", 6) && std::memcmp(b.data, "GIF87a", 6))) return s;
  s.width = b.At<uint16_t>(6);
  s.height = b.At<uint16_t>(8);
  uint8_t flags = b.data[10];
  size_t palette = flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
  size_t at = 13 + palette;
  int transparent_index = -1;
  auto skip_sub_blocks = [&] {
    while (at < b.size && b.data[at]) at += 1 + b.data[at];
    ++at;
  };
  while (at < b.size) {
    uint8_t block = b.data[at];
    if (block == 0x3B) {
      s.well_formed = at + 1 == b.size;
      break;
    }
    if (block == 0x21) {
      if (b.data[at + 1] == 0xF9 && (b.data[at + 3] & 1)) transparent_index = b.data[at + 6];
      at += 2;
      skip_sub_blocks();
    } else if (block == 0x2C) {
      ++s.frames;
      if (b.At<uint16_t>(at + 5) != s.width || b.At<uint16_t>(at + 7) != s.height) return s;
      uint8_t local = b.data[at + 9];
      at += 10 + (local & 0x80 ? 3u << ((local & 7) + 1) : 0) + 1;  // and the LZW code size
      skip_sub_blocks();
    } else {
      return s;
    }
  }
  if (transparent_index >= 0 && palette) {
    s.transparent = true;
    const uint8_t* rgb = b.data + 13 + 3 * transparent_index;
    s.transparent_colour = rgb[0] << 16 | rgb[1] << 8 | rgb[2];
  }
  return s;
}

TEST(Gifs, AreOneFrameOfTheirSizeWithTransparencyOnlyOnTheSplash) {
  struct Item {
    int id, width, height;
    bool transparent;
    DWORD min_bytes, max_bytes;
  };
  const Item items[] = {{IDG_PLAYLIST_TAB, 93, 24, false, 200, 8000},
                        {IDG_LOGO, 43, 38, false, 200, 8000},
                        {IDG_SPLASH, 279, 279, true, 15000, 22000}};
  for (const auto& item : items) {
    SCOPED_TRACE("gif " + std::to_string(item.id));
    Bytes raw = Find(L"GIF", item.id);
    ASSERT_NE(raw.data, nullptr);
    GifShape gif = ReadGif(raw);
    EXPECT_TRUE(gif.well_formed);
    EXPECT_EQ(gif.frames, 1);
    EXPECT_EQ(gif.width, item.width);
    EXPECT_EQ(gif.height, item.height);
    EXPECT_EQ(gif.transparent, item.transparent);
    EXPECT_GE(raw.size, item.min_bytes);
    EXPECT_LE(raw.size, item.max_bytes);
  }
}

// Drawn the way the splash draws it: the corners keep what was behind, the disc covers the centre.
TEST(Gifs, SplashIsTransparentAroundTheDisc) {
  Bytes raw = Find(L"GIF", IDG_SPLASH);
  ASSERT_NE(raw.data, nullptr);
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, raw.size);
  std::memcpy(::GlobalLock(copy), raw.data, raw.size);
  ::GlobalUnlock(copy);
  IStream* stream = nullptr;
  ASSERT_EQ(::CreateStreamOnHGlobal(copy, TRUE, &stream), S_OK);
  IPicture* picture = nullptr;
  ASSERT_EQ(::OleLoadPicture(stream, raw.size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)), S_OK);
  DWORD attributes = 0;
  picture->get_Attributes(&attributes);
  EXPECT_TRUE(attributes & PICTURE_TRANSPARENT);

  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP target = ::CreateCompatibleBitmap(screen, 279, 279);
  HGDIOBJ old = ::SelectObject(dc, target);
  RECT all{0, 0, 279, 279};
  HBRUSH green = ::CreateSolidBrush(RGB(0, 255, 0));
  ::FillRect(dc, &all, green);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  picture->Render(dc, 0, 0, 279, 279, 0, h, w, -h, nullptr);
  for (POINT corner : {POINT{1, 1}, POINT{277, 1}, POINT{1, 277}, POINT{277, 277}, POINT{139, 3}})
    EXPECT_EQ(::GetPixel(dc, corner.x, corner.y), RGB(0, 255, 0)) << corner.x << "," << corner.y;
  for (POINT inside : {POINT{139, 30}, POINT{40, 139}, POINT{139, 139}, POINT{240, 139}})
    EXPECT_NE(::GetPixel(dc, inside.x, inside.y), RGB(0, 255, 0)) << inside.x << "," << inside.y;
  ::SelectObject(dc, old);
  ::DeleteObject(green);
  ::DeleteObject(target);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  picture->Release();
  stream->Release();
}

// ---- icon and cursor -----------------------------------------------------------------------

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(ProgramIcon, GroupOneListsSixImagesInOrder) {
  Bytes group = Find(RT_GROUP_ICON, IDI_PROGRAM);
  ASSERT_NE(group.data, nullptr);
  EXPECT_EQ(group.At<uint16_t>(0), 0);
  EXPECT_EQ(group.At<uint16_t>(2), 1);  // icons, not cursors
  ASSERT_EQ(group.At<uint16_t>(4), 6);
  ASSERT_EQ(group.size, 6u + 6 * sizeof(GroupEntry));
  const std::pair<int, int> expected[] = {{48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}};
  for (int i = 0; i < 6; ++i) {
    auto entry = group.At<GroupEntry>(6 + i * sizeof(GroupEntry));
    auto [size, bits] = expected[i];
    SCOPED_TRACE("entry " + std::to_string(i));
    EXPECT_EQ(entry.id, 30001 + i);
    EXPECT_EQ(entry.width, size);
    EXPECT_EQ(entry.height, size);
    EXPECT_EQ(entry.bits, bits);
    EXPECT_EQ(entry.planes, 1);

    Bytes image = Find(RT_ICON, entry.id);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(entry.bytes, image.size);
    Dib dib(image);
    EXPECT_EQ(dib.Width(), size);
    EXPECT_EQ(dib.Height(), 2 * size);  // colour and mask
    EXPECT_EQ(dib.Info().biBitCount, bits);
    if (bits == 8) {
      EXPECT_EQ(dib.PaletteEntries(), 256u);
    }
    size_t mask = ((size + 31) / 32) * 4 * size;
    EXPECT_EQ(image.size, dib.Info().biSize + dib.PaletteBytes() + dib.Stride() * size + mask);

    HICON icon = ::CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000, size,
                                            size, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    if (icon) ::DestroyIcon(icon);
  }
  // The system picks the 32-bit image of the asked size.
  EXPECT_EQ(::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, 16, 16, LR_DEFAULTCOLOR), 30006);
}

TEST(ProgramIcon, ImagesAreTransparentAroundTheDisc) {
  for (int id : {30004, 30005, 30006}) {
    Dib dib(Find(RT_ICON, id));
    const uint8_t* bits = Find(RT_ICON, id).data + dib.Info().biSize;
    int size = dib.Width();
    auto alpha = [&](int x, int y) { return bits[((size - 1 - y) * size + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0) << id;
    EXPECT_EQ(alpha(size / 2, size / 2), 255) << id;
  }
}

TEST(HandCursor, Is32By32WithItsHotSpotAtTheFingertip) {
  Bytes group = Find(RT_GROUP_CURSOR, IDC_HAND_POINTER);
  ASSERT_NE(group.data, nullptr);
  EXPECT_EQ(group.At<uint16_t>(2), 2);  // cursors
  EXPECT_EQ(group.At<uint16_t>(4), 1);

  HCURSOR cursor = static_cast<HCURSOR>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER),
                                                     IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask{};
  ::GetObjectW(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, info.hbmColor ? 32 : 64);  // a monochrome cursor stacks AND over XOR
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  ::DestroyCursor(cursor);
}

// ---- sounds --------------------------------------------------------------------------------

struct Chunk {
  size_t offset = 0;
  uint32_t size = 0;
};

Chunk FindChunk(Bytes b, const char* tag) {
  for (size_t at = 12; at + 8 <= b.size; at += 8 + ((b.At<uint32_t>(at + 4) + 1) & ~1u))
    if (!std::memcmp(b.data + at, tag, 4)) return {at + 8, b.At<uint32_t>(at + 4)};
  return {};
}

TEST(Sounds, AreMp3InWaveWithTheFieldsTheWavePlayerExpects) {
  struct Item {
    int id;
    double seconds;
    DWORD data_bytes;
  };
  const Item items[] = {{IDW_SPLASH_SOUND, 5.5, 88000}, {IDW_ABOUT_SOUND, 6.1, 97500}};
  for (const auto& item : items) {
    SCOPED_TRACE("sound " + std::to_string(item.id));
    Bytes wave = Find(L"WAVE", item.id);
    ASSERT_NE(wave.data, nullptr);
    ASSERT_EQ(std::memcmp(wave.data, "RIFF", 4), 0);
    EXPECT_EQ(wave.At<uint32_t>(4) + 8, wave.size);
    ASSERT_EQ(std::memcmp(wave.data + 8, "WAVE", 4), 0);

    Chunk fmt = FindChunk(wave, "fmt ");
    ASSERT_EQ(fmt.size, 30u);
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset), 0x0055);       // wFormatTag: MPEG Layer III
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 2), 2);        // nChannels
    EXPECT_EQ(wave.At<uint32_t>(fmt.offset + 4), 44100u);   // nSamplesPerSec
    EXPECT_EQ(wave.At<uint32_t>(fmt.offset + 8), 16000u);   // nAvgBytesPerSec
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 12), 1);       // nBlockAlign
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 14), 0);       // wBitsPerSample
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 16), 12);      // cbSize
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 18), 1);       // wID: MPEG
    EXPECT_EQ(wave.At<uint32_t>(fmt.offset + 20), 2u);      // fdwFlags: padding off
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 24), 417);     // nBlockSize
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 26), 1);       // nFramesPerBlock
    EXPECT_EQ(wave.At<uint16_t>(fmt.offset + 28), 1393);    // nCodecDelay

    Chunk fact = FindChunk(wave, "fact");
    ASSERT_EQ(fact.size, 4u);
    double seconds = wave.At<uint32_t>(fact.offset) / 44100.0;
    EXPECT_NEAR(seconds, item.seconds, 0.1);

    Chunk data = FindChunk(wave, "data");
    ASSERT_NE(data.offset, 0u);
    EXPECT_NEAR(static_cast<double>(data.size), item.data_bytes, 1500);
    EXPECT_NEAR(data.size / 16000.0, seconds, 0.1);  // encoder delay and padding add a frame or two

    // The data is nothing but MPEG-1 Layer III frames at 128 kbit/s, 44100 Hz, two channels.
    int frames = 0;
    size_t at = data.offset, end = data.offset + data.size;
    while (at + 4 <= end) {
      uint32_t header = wave.data[at] << 24 | wave.data[at + 1] << 16 | wave.data[at + 2] << 8 | wave.data[at + 3];
      ASSERT_EQ(header & 0xFFFE0000u, 0xFFFA0000u) << "frame " << frames;  // sync, MPEG-1, Layer III
      ASSERT_EQ(header >> 12 & 0xF, 9u) << "frame " << frames;            // 128 kbit/s
      ASSERT_EQ(header >> 10 & 0x3, 0u) << "frame " << frames;            // 44100 Hz
      ASSERT_NE(header >> 6 & 0x3, 3u) << "frame " << frames;             // not mono
      at += 417 + (header >> 9 & 1);
      ++frames;
    }
    EXPECT_EQ(at, end);
    EXPECT_NEAR(frames * 1152 / 44100.0, seconds, 0.1);
  }
}

// ---- version and manifest ------------------------------------------------------------------

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

TEST(VersionResource, CarriesTheProjectVersionAndTheProductStrings) {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD size = ::GetFileVersionInfoSizeW(path, nullptr);
  ASSERT_GT(size, 0u);
  std::vector<uint8_t> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD ms = MAKELONG(SONBREL_VERSION_MINOR, SONBREL_VERSION_MAJOR), ls = MAKELONG(SONBREL_VERSION_REVISION, 0);
  EXPECT_EQ(fixed->dwFileVersionMS, ms);
  EXPECT_EQ(fixed->dwFileVersionLS, ls);
  EXPECT_EQ(fixed->dwProductVersionMS, ms);
  EXPECT_EQ(fixed->dwProductVersionLS, ls);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(ms, 0x00030000u);  // this release: 3.0.0.1
  EXPECT_EQ(ls, 0x00000001u);

  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  char version[32];
  std::snprintf(version, sizeof version, "%d.%02d.%04d", SONBREL_VERSION_MAJOR, SONBREL_VERSION_MINOR,
                SONBREL_VERSION_REVISION);
  const std::pair<const wchar_t*, std::wstring> strings[] = {
      {L"FileVersion", Widen(version)},
      {L"ProductVersion", Widen(version)},
      {L"FileDescription", L"Harlune网络FM播放器"},
      {L"ProductName", L"Harlune Internet FM Sonbrel"},
      {L"InternalName", L"Sonbrel"},
      {L"OriginalFilename", L"Sonbrel.exe"},
      {L"CompanyName", L""},
      {L"LegalCopyright", L""},
      {L"LegalTrademarks", L""},
      {L"Comments", L""},
  };
  EXPECT_EQ(std::string(version), "3.00.0001");
  for (const auto& [name, expected] : strings) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    wchar_t* value = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        << "missing " << std::string(key.begin(), key.end());
    if (expected.empty())
      EXPECT_GT(std::wcslen(value), 4u);  // ours to word, but never left blank
    else
      EXPECT_EQ(std::wstring(value), expected);
  }
}

TEST(Manifest, AsksForCommonControls6AsInvokerUtf8AndNoDpiAwareness) {
  Bytes manifest = Find(MAKEINTRESOURCEW(24), 1);
  ASSERT_NE(manifest.data, nullptr);
  std::string text(reinterpret_cast<const char*>(manifest.data), manifest.size);
  const char* wanted[] = {
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "level=\"asInvoker\"",
      ">UTF-8</activeCodePage>",
      ">false</dpiAware>",
      ">unaware</dpiAwareness>",
  };
  for (const char* w : wanted) EXPECT_NE(text.find(w), std::string::npos) << w;
}

}  // namespace
