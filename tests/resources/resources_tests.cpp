// The embedded resources as the program finds them: where they are, and what the pictures must
// agree on among themselves. Sizes and fields are the art scripts' business, not repeated here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resource_ids.h"

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
constexpr uint32_t kMagenta = 0xFF00FF;

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

// The resource's bytes; empty unless it exists in Chinese and in no other language.
std::string_view FindChinese(LPCWSTR type, int id) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  std::vector<WORD> languages;
  ::EnumResourceLanguagesW(self, type, MAKEINTRESOURCEW(id), AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
  HRSRC found = ::FindResourceExW(self, type, MAKEINTRESOURCEW(id), kChinese);
  if (!found || languages != std::vector<WORD>{kChinese}) return {};
  return {static_cast<const char*>(::LockResource(::LoadResource(self, found))), ::SizeofResource(self, found)};
}

// A packed bottom-up DIB of 8 or 24 bits as stored for RT_BITMAP; 0xRRGGBB from the top left.
class Dib {
 public:
  explicit Dib(int id) : bytes_(reinterpret_cast<const uint8_t*>(FindChinese(RT_BITMAP, id).data())) {
    if (bytes_) std::memcpy(&info_, bytes_, sizeof info_);
  }
  bool Found() const { return bytes_ != nullptr; }
  int Width() const { return info_.biWidth; }
  int Height() const { return info_.biHeight; }
  uint32_t Pixel(int x, int y) const {
    const size_t palette = info_.biBitCount > 8 ? 0 : 4 * (info_.biClrUsed ? info_.biClrUsed : 256u);
    const size_t stride = ((Width() * info_.biBitCount + 31) / 32) * 4;
    size_t at = info_.biSize + palette + stride * (Height() - 1 - y) + x * info_.biBitCount / 8;
    if (info_.biBitCount == 8) at = info_.biSize + 4 * bytes_[at];
    return bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16;
  }

 private:
  const uint8_t* bytes_;
  BITMAPINFOHEADER info_{};
};

TEST(Resources, EveryPictureSoundAndTheIconAreThereInChinese) {
  std::vector<std::pair<LPCWSTR, int>> wanted;
  for (int id = 101; id <= 121; ++id) wanted.push_back({RT_BITMAP, id});
  for (int id : {IDB_PICTURE3, IDB_PICTURE8, IDB_PICTURE15, IDB_PICTURE17, IDB_BANNER}) wanted.push_back({RT_BITMAP, id});
  for (int id : {IDG_PLAYLIST_TAB, IDG_LOGO, IDG_SPLASH}) wanted.push_back({L"GIF", id});
  for (int id : {IDW_SPLASH_SOUND, IDW_ABOUT_SOUND}) wanted.push_back({L"WAVE", id});
  wanted.push_back({RT_GROUP_ICON, IDI_PROGRAM});
  wanted.push_back({RT_GROUP_CURSOR, IDC_HAND_POINTER});
  for (const auto& [type, id] : wanted) EXPECT_FALSE(FindChinese(type, id).empty()) << id;
  // What the system makes of them, too.
  EXPECT_NE(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICTURE8), IMAGE_BITMAP, 0, 0, 0), nullptr);
  EXPECT_NE(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER)), nullptr);
}

// The normal look is the strip behind the button plus the glyph, so the two cannot be told apart.
TEST(ButtonLooks, NormalLooksMatchTheFaceTheyLieOn) {
  const struct {
    int button, picture, x, y;
  } placements[] = {
      {IDB_MINIMIZE_NORMAL, IDB_PICTURE4, 250 - 207, 5}, {IDB_MINIMODE_NORMAL, IDB_PICTURE4, 268 - 207, 5},
      {IDB_CLOSE_NORMAL, IDB_PICTURE4, 286 - 207, 5},    {IDB_CLOSE_NORMAL, IDB_PICTURE8, 286, 165 - 158},
      {IDB_MINI_ABOUT_NORMAL, IDB_PICTURE15, 1, 1},       {IDB_MINI_EXIT_NORMAL, IDB_PICTURE15, 13, 1},
      {IDB_MINI_MINIMIZE_NORMAL, IDB_PICTURE15, 1, 12},   {IDB_MINI_NORMALMODE_NORMAL, IDB_PICTURE15, 13, 12},
  };
  for (const auto& p : placements) {
    SCOPED_TRACE("button " + std::to_string(p.button) + " on " + std::to_string(p.picture));
    const Dib button(p.button), face(p.picture);
    ASSERT_TRUE(button.Found() && face.Found());
    const bool whole = p.picture == IDB_PICTURE15;  // which carries the four small glyphs themselves
    int differing = 0;
    for (int y = 0; y < button.Height(); ++y)
      for (int x = 0; x < button.Width(); ++x) {
        const bool edge = x == 0 || y == 0 || x == button.Width() - 1 || y == button.Height() - 1;
        differing += (edge || whole) && button.Pixel(x, y) != face.Pixel(p.x + x, p.y + y);
      }
    EXPECT_EQ(differing, 0);
  }
}

TEST(SkinPictures, Picture3IsMagentaOnlyOutsideTheRoundedWindow) {
  const Dib p3(IDB_PICTURE3);
  ASSERT_TRUE(p3.Found());
  // The picture sits at window pixel (-1, -1); the window's outline at start.
  HRGN outline = ::CreateRoundRectRgn(0, 0, 309, 162, 11, 11);
  int outerMissing = 0, cornerMagenta = 0, visibleMagenta = 0;
  for (int y = 0; y < p3.Height(); ++y)
    for (int x = 0; x < p3.Width(); ++x) {
      const bool magenta = p3.Pixel(x, y) == kMagenta;
      if (x == 0 || y == 0) {
        outerMissing += !magenta;
      } else if (magenta) {
        visibleMagenta += ::PtInRegion(outline, x - 1, y - 1) != FALSE;
        ++cornerMagenta;
      }
    }
  ::DeleteObject(outline);
  EXPECT_EQ(outerMissing, 0);
  EXPECT_EQ(visibleMagenta, 0);
  EXPECT_GE(cornerMagenta, 6);  // the cut of the rounded corner
}

// The tip of the notification icon is handed over in the ANSI code page: it must be UTF-8.
TEST(Manifest, SetsTheUtf8CodePage) {
  EXPECT_NE(FindChinese(MAKEINTRESOURCEW(24), 1).find(">UTF-8</activeCodePage>"), std::string_view::npos);
}

}  // namespace
