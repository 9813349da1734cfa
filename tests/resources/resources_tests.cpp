#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource_ids.h"

namespace {

// Missing, or not in the program's language: all zeros.
std::string Chinese(LPCWSTR type, int id) {
  auto r = ::FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  const char* bytes = r ? static_cast<const char*>(::LockResource(::LoadResource(nullptr, r))) : nullptr;
  return bytes ? std::string(bytes, ::SizeofResource(nullptr, r)) : std::string(64, '\0');
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
