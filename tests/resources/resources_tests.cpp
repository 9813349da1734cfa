// Every resource the program loads, read back the way Windows finds it in the module.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resource_ids.h"

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
constexpr uint32_t kMagenta = 0xFF00FF;

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

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

// Empty unless the resource exists in Chinese and in no other language.
Bytes Find(LPCWSTR type, int id) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  std::vector<WORD> languages;
  ::EnumResourceLanguagesW(self, type, MAKEINTRESOURCEW(id), AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
  HRSRC found = ::FindResourceExW(self, type, MAKEINTRESOURCEW(id), kChinese);
  if (!found || languages != std::vector<WORD>{kChinese}) return {};
  return {static_cast<const uint8_t*>(::LockResource(::LoadResource(self, found))), ::SizeofResource(self, found)};
}

// A packed DIB as stored for RT_BITMAP and RT_ICON.
class Dib {
 public:
  explicit Dib(Bytes b) : b_(b), info_(b.At<BITMAPINFOHEADER>(0)) {}
  const BITMAPINFOHEADER& Info() const { return info_; }
  int Width() const { return info_.biWidth; }
  int Height() const { return info_.biHeight; }
  size_t PaletteBytes() const {
    return info_.biBitCount > 8 ? 0 : 4 * (info_.biClrUsed ? info_.biClrUsed : 1u << info_.biBitCount);
  }
  size_t Stride() const { return ((Width() * info_.biBitCount + 31) / 32) * 4; }
  // 0xRRGGBB at (x, y) counted from the top.
  uint32_t Pixel(int x, int y) const {
    size_t at = info_.biSize + PaletteBytes() + Stride() * (Height() - 1 - y) + x * info_.biBitCount / 8;
    if (info_.biBitCount == 8) at = info_.biSize + 4 * b_.data[at];
    return b_.data[at] | b_.data[at + 1] << 8 | b_.data[at + 2] << 16;
  }

 private:
  Bytes b_;
  BITMAPINFOHEADER info_;
};

Dib Bitmap(int id) { return Dib(Find(RT_BITMAP, id)); }

TEST(Bitmaps, HaveTheirSizeAndDepthInChinese) {
  struct Item {
    int first, last, width, height, bits;
  };
  const Item items[] = {
      {101, 109, 17, 19, 8},          {110, 121, 12, 10, 24},        {IDB_PICTURE3, IDB_PICTURE3, 75, 30, 24},
      {IDB_PICTURE4, IDB_PICTURE4, 102, 30, 24},  {IDB_PICTURE5, IDB_PICTURE5, 174, 30, 24},
      {IDB_PICTURE6, IDB_PICTURE6, 6, 64, 24},    {IDB_PICTURE7, IDB_PICTURE7, 7, 64, 24},
      {IDB_PICTURE8, IDB_PICTURE8, 308, 29, 24},  {IDB_PICTURE14, IDB_PICTURE14, 29, 25, 24},
      {IDB_PICTURE15, IDB_PICTURE15, 27, 25, 24}, {IDB_PICTURE16, IDB_PICTURE17, 236, 1, 24},
      {IDB_BANNER, IDB_BANNER, 374, 65, 24},
  };
  for (const auto& item : items)
    for (int id = item.first; id <= item.last; ++id) {
      SCOPED_TRACE("bitmap " + std::to_string(id));
      Bytes raw = Find(RT_BITMAP, id);
      ASSERT_NE(raw.data, nullptr);
      const Dib dib(raw);
      EXPECT_EQ(dib.Info().biSize, sizeof(BITMAPINFOHEADER));
      EXPECT_EQ(dib.Width(), item.width);
      EXPECT_EQ(dib.Height(), item.height);  // positive: bottom-up, as LoadImage expects
      EXPECT_EQ(dib.Info().biBitCount, item.bits);
      EXPECT_EQ(dib.Info().biCompression, static_cast<DWORD>(BI_RGB));
      EXPECT_EQ(dib.Info().biClrUsed, item.bits == 8 ? 256u : 0u);
      EXPECT_EQ(raw.size, dib.Info().biSize + dib.PaletteBytes() + dib.Stride() * dib.Height());
    }
}

// The normal look is the strip behind the button plus the glyph, so the two cannot be told apart.
TEST(ButtonLooks, NormalLooksMatchTheFaceTheyLieOn) {
  struct Placement {
    int button, picture, x, y;
  };
  const Placement placements[] = {
      {IDB_MINIMIZE_NORMAL, IDB_PICTURE4, 250 - 207, 5}, {IDB_MINIMODE_NORMAL, IDB_PICTURE4, 268 - 207, 5},
      {IDB_CLOSE_NORMAL, IDB_PICTURE4, 286 - 207, 5},    {IDB_CLOSE_NORMAL, IDB_PICTURE8, 286, 165 - 158},
      {IDB_MINI_ABOUT_NORMAL, IDB_PICTURE15, 1, 1},       {IDB_MINI_EXIT_NORMAL, IDB_PICTURE15, 13, 1},
      {IDB_MINI_MINIMIZE_NORMAL, IDB_PICTURE15, 1, 12},   {IDB_MINI_NORMALMODE_NORMAL, IDB_PICTURE15, 13, 12},
  };
  for (const auto& p : placements) {
    SCOPED_TRACE("button " + std::to_string(p.button) + " on " + std::to_string(p.picture));
    const Dib button = Bitmap(p.button), face = Bitmap(p.picture);
    const bool whole = p.picture == IDB_PICTURE15;  // which carries the four small glyphs themselves
    int differing = 0;
    for (int y = 0; y < button.Height(); ++y)
      for (int x = 0; x < button.Width(); ++x) {
        bool edge = x == 0 || y == 0 || x == button.Width() - 1 || y == button.Height() - 1;
        differing += (edge || whole) && button.Pixel(x, y) != face.Pixel(p.x + x, p.y + y);
      }
    EXPECT_EQ(differing, 0);
  }
}

TEST(SkinPictures, Picture3IsMagentaOnlyOutsideTheRoundedWindow) {
  const Dib p3 = Bitmap(IDB_PICTURE3);
  // The picture sits at window pixel (-1, -1); the window's outline at start.
  HRGN outline = ::CreateRoundRectRgn(0, 0, 309, 162, 11, 11);
  int outer_missing = 0, corner_magenta = 0;
  for (int y = 0; y < p3.Height(); ++y)
    for (int x = 0; x < p3.Width(); ++x) {
      bool magenta = p3.Pixel(x, y) == kMagenta;
      if (x == 0 || y == 0) {
        outer_missing += !magenta;
      } else if (magenta) {
        EXPECT_FALSE(::PtInRegion(outline, x - 1, y - 1)) << "visible magenta at " << x << "," << y;
        ++corner_magenta;
      }
    }
  ::DeleteObject(outline);
  EXPECT_EQ(outer_missing, 0);
  EXPECT_GE(corner_magenta, 6);  // the cut of the rounded corner
}

// The transparent colour of the first image, read without decoding pixels; none without one.
std::optional<uint32_t> TransparentColour(Bytes b) {
  uint8_t flags = b.At<uint8_t>(10);
  size_t at = 13 + (flags & 0x80 ? 3u << ((flags & 7) + 1) : 0);
  for (; b.At<uint8_t>(at) == 0x21; ++at) {  // extensions before the first image
    if (b.At<uint8_t>(at + 1) == 0xF9 && (b.At<uint8_t>(at + 3) & 1)) {
      size_t rgb = 13 + 3 * b.At<uint8_t>(at + 6);
      return b.At<uint8_t>(rgb) << 16 | b.At<uint8_t>(rgb + 1) << 8 | b.At<uint8_t>(rgb + 2);
    }
    for (at += 2; at < b.size && b.data[at]; at += 1 + b.data[at]) {
    }
  }
  return std::nullopt;
}

TEST(Gifs, HaveTheirSizeAndOnlyTheSplashATransparentColour) {
  struct Item {
    int id, width, height;
    std::optional<uint32_t> transparent;
  };
  for (const Item& item : {Item{IDG_PLAYLIST_TAB, 93, 24, {}}, Item{IDG_LOGO, 43, 38, {}},
                           Item{IDG_SPLASH, 279, 279, kMagenta}}) {
    SCOPED_TRACE("gif " + std::to_string(item.id));
    Bytes raw = Find(L"GIF", item.id);
    ASSERT_NE(raw.data, nullptr);
    ASSERT_EQ(std::memcmp(raw.data, "GIF8", 4), 0);
    EXPECT_EQ(raw.At<uint16_t>(6), item.width);
    EXPECT_EQ(raw.At<uint16_t>(8), item.height);
    EXPECT_EQ(TransparentColour(raw), item.transparent);
  }
}

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
  EXPECT_EQ(group.At<uint16_t>(2), 1);  // icons, not cursors
  ASSERT_EQ(group.At<uint16_t>(4), 6);
  ASSERT_EQ(group.size, 6u + 6 * sizeof(GroupEntry));
  const int sizes[] = {48, 32, 16, 48, 32, 16};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    auto entry = group.At<GroupEntry>(6 + i * sizeof(GroupEntry));
    const int size = sizes[i], bits = i < 3 ? 8 : 32;
    EXPECT_EQ(entry.id, 30001 + i);
    EXPECT_EQ(entry.width, size);
    EXPECT_EQ(entry.height, size);
    EXPECT_EQ(entry.bits, bits);
    Bytes image = Find(RT_ICON, entry.id);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(entry.bytes, image.size);
    const Dib dib(image);
    EXPECT_EQ(dib.Width(), size);
    EXPECT_EQ(dib.Height(), 2 * size);  // colour and mask
    EXPECT_EQ(dib.Info().biBitCount, bits);
    const size_t mask = ((size + 31) / 32) * 4 * size;
    EXPECT_EQ(image.size, dib.Info().biSize + dib.PaletteBytes() + dib.Stride() * size + mask);
  }
}

TEST(HandCursor, Is32By32WithItsHotSpotAtTheFingertip) {
  ASSERT_NE(Find(RT_GROUP_CURSOR, IDC_HAND_POINTER).data, nullptr);
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

// Where a RIFF chunk's data starts and how long it is; {0, 0} when missing.
std::pair<size_t, uint32_t> FindChunk(Bytes b, const char* tag) {
  for (size_t at = 12; at + 8 <= b.size; at += 8 + ((b.At<uint32_t>(at + 4) + 1) & ~1u))
    if (!std::memcmp(b.data + at, tag, 4)) return {at + 8, b.At<uint32_t>(at + 4)};
  return {0, 0};
}

TEST(Sounds, AreMp3InWaveWithTheFieldsTheWavePlayerExpects) {
  struct Field {
    size_t offset, bytes;
    uint32_t value;
  };
  const Field fields[] = {  // WAVEFORMATEX, then the rest of MPEGLAYER3WAVEFORMAT
      {0, 2, 0x55}, {2, 2, 2},  {4, 4, 44100}, {8, 4, 16000},  {12, 2, 1}, {14, 2, 0},
      {16, 2, 12},  {18, 2, 1}, {20, 4, 2},    {24, 2, 417},   {26, 2, 1}, {28, 2, 1393},
  };
  for (auto [id, seconds] : {std::pair{IDW_SPLASH_SOUND, 5.5}, std::pair{IDW_ABOUT_SOUND, 6.1}}) {
    SCOPED_TRACE("sound " + std::to_string(id));
    Bytes wave = Find(L"WAVE", id);
    ASSERT_NE(wave.data, nullptr);
    ASSERT_EQ(std::memcmp(wave.data, "RIFF", 4), 0);
    EXPECT_EQ(wave.At<uint32_t>(4) + 8, wave.size);
    ASSERT_EQ(std::memcmp(wave.data + 8, "WAVE", 4), 0);
    auto [fmt, fmt_size] = FindChunk(wave, "fmt ");
    ASSERT_EQ(fmt_size, 30u);
    for (const Field& f : fields)
      EXPECT_EQ(f.bytes == 2 ? wave.At<uint16_t>(fmt + f.offset) : wave.At<uint32_t>(fmt + f.offset), f.value)
          << "at " << f.offset;
    auto [fact, fact_size] = FindChunk(wave, "fact");
    ASSERT_EQ(fact_size, 4u);
    const double fact_seconds = wave.At<uint32_t>(fact) / 44100.0;
    EXPECT_NEAR(fact_seconds, seconds, 0.1);
    auto [data, data_size] = FindChunk(wave, "data");
    ASSERT_NE(data, 0u);
    EXPECT_NEAR(data_size / 16000.0, fact_seconds, 0.1);  // encoder delay and padding add a frame or two
  }
}

TEST(VersionResource, CarriesTheVersionAndTheProductStrings) {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::vector<uint8_t> block(::GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(::GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  for (DWORD ms : {fixed->dwFileVersionMS, fixed->dwProductVersionMS}) EXPECT_EQ(ms, 0x00030000u);  // 3.0.0.1
  for (DWORD ls : {fixed->dwFileVersionLS, fixed->dwProductVersionLS}) EXPECT_EQ(ls, 0x00000001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"FileVersion", L"3.00.0001"},  {L"ProductVersion", L"3.00.0001"},
      {L"FileDescription", L"Harlune网络FM播放器"}, {L"ProductName", L"Harlune Internet FM Sonbrel"},
      {L"InternalName", L"Sonbrel"},   {L"OriginalFilename", L"Sonbrel.exe"},
      {L"CompanyName", L""},           {L"LegalCopyright", L""},
      {L"LegalTrademarks", L""},       {L"Comments", L""},  // ours to word, but never left blank
  };
  for (const auto& [name, expected] : strings) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    wchar_t* value = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << "missing";
    if (*expected)
      EXPECT_STREQ(value, expected);
    else
      EXPECT_GT(std::wcslen(value), 4u);
  }
}

TEST(Manifest, AsksForCommonControls6AsInvokerUtf8AndNoDpiAwareness) {
  Bytes manifest = Find(MAKEINTRESOURCEW(24), 1);
  ASSERT_NE(manifest.data, nullptr);
  std::string text(reinterpret_cast<const char*>(manifest.data), manifest.size);
  for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
                             ">UTF-8</activeCodePage>", ">false</dpiAware>", ">unaware</dpiAwareness>"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
}

}  // namespace
