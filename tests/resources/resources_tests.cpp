#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

std::string Chinese(LPCWSTR type, int id) {
  auto r = ::FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  const char* bytes = r ? static_cast<const char*>(::LockResource(::LoadResource(nullptr, r))) : nullptr;
  return bytes ? std::string(bytes, ::SizeofResource(nullptr, r)) : std::string(64, '\0');  // missing: all zeros
}

TEST(Resources, EachOneTheProgramLoadsIsThereInChineseBitmapsAtTheSizeAndDepthItShowsThemAt) {
  const struct { int first, last; long w, h, bits; } bitmaps[] = {
      {101, 109, 17, 19, 8},   {110, 121, 12, 10, 24}, {203, 203, 75, 30, 24}, {204, 204, 102, 30, 24},
      {205, 205, 174, 30, 24}, {206, 206, 6, 64, 24},  {207, 207, 7, 64, 24},  {208, 208, 308, 29, 24},
      {214, 214, 29, 25, 24},  {215, 215, 27, 25, 24}, {216, 217, 236, 1, 24}, {401, 401, 374, 65, 24}};
  for (const auto& b : bitmaps) {
    for (int id = b.first; id <= b.last; ++id) {
      const std::string bytes = Chinese(RT_BITMAP, id);
      const auto& i = *reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data());
      EXPECT_EQ((std::vector<long>{i.biWidth, i.biHeight, i.biBitCount}), (std::vector{b.w, b.h, b.bits})) << id;
    }
  }
  for (int id : {IDG_PLAYLIST_TAB, IDG_LOGO, IDG_SPLASH}) EXPECT_EQ(Chinese(L"GIF", id).substr(0, 4), "GIF8") << id;
  for (int id : {IDW_SPLASH_SOUND, IDW_ABOUT_SOUND}) EXPECT_EQ(Chinese(L"WAVE", id).substr(8, 4), "WAVE") << id;
  EXPECT_EQ(Chinese(RT_GROUP_ICON, IDI_PROGRAM)[4], 6) << "images in the icon";
  EXPECT_NE(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER)), nullptr);
  // The tip of the notification icon is handed over in the ANSI code page: it must be UTF-8.
  EXPECT_NE(Chinese(MAKEINTRESOURCEW(24), 1).find(">UTF-8</activeCodePage>"), std::string::npos);
}

// The numbers themselves reach the about window; the strings are read as the file's properties read them.
TEST(Resources, TheVersionStringsOfTheTranslationItNamesSpellItsNumbers) {
  std::string data = Chinese(RT_VERSION, VS_VERSION_INFO);
  void *numbers = nullptr, *language = nullptr, *text = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", &numbers, &size) &&
              ::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &language, &size));
  const auto& v = *static_cast<const VS_FIXEDFILEINFO*>(numbers);
  wchar_t name[64], spelled[24];
  std::swprintf(spelled, 24, L"%d.%02d.%04d", HIWORD(v.dwFileVersionMS), LOWORD(v.dwFileVersionMS),
                LOWORD(v.dwFileVersionLS));
  for (auto [key, value] : {std::pair<const wchar_t*, const wchar_t*>{L"FileVersion", spelled},
                            {L"ProductVersion", spelled}, {L"FileDescription", L"Harlune网络FM播放器"}}) {
    const auto* ids = static_cast<const WORD*>(language);
    std::swprintf(name, 64, L"\\StringFileInfo\\%04x%04x\\%ls", ids[0], ids[1], key);
    EXPECT_EQ(::VerQueryValueW(data.data(), name, &text, &size) ? static_cast<const wchar_t*>(text) : L"",
              std::wstring(value));
  }
}

}  // namespace
