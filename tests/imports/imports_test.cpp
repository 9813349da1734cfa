#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "forms/handles.h"

namespace {

// The names of the DLLs in a program file's import table, lower case.
std::vector<std::string> ImportedDlls(const wchar_t* path) {
  std::ifstream file(std::wstring(path).substr(2).c_str(), std::ios::binary);  // past "Z:"
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> names;
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return names;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes.data() + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  auto at = [&](DWORD rva) -> const char* {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
        return bytes.data() + s.PointerToRawData + (rva - s.VirtualAddress);
      }
    }
    return nullptr;
  };
  const DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(directory)); entry && entry->Name;
       ++entry) {
    std::string name = at(entry->Name);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(::tolower(c)); });
    names.push_back(name);
  }
  return names;
}

bool InSystemDirectory(const std::string& dll) {
  char directory[MAX_PATH];
  ::GetSystemDirectoryA(directory, MAX_PATH);
  return ::GetFileAttributesA((std::string(directory) + "\\" + dll).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every DLL the program imports is mapped and started before the splash can show: only those the
// splash itself needs are imported, and the release needs nothing beyond Windows.
TEST(Imports, TheProgramImportsOnlyWindowsDllsAndNoneOfThoseBoundOnFirstCall) {
  for (const wchar_t* program : {SONBREL_EXE, SONBREL_UNDER_TEST_EXE}) {
    SCOPED_TRACE(program == std::wstring(SONBREL_EXE) ? "the program" : "the tests' copy");
    const std::vector<std::string> dlls = ImportedDlls(program);
    ASSERT_GE(dlls.size(), 4u) << "the import table was not read";
    for (const std::string& dll : dlls) {
      EXPECT_TRUE(InSystemDirectory(dll)) << dll;
      for (const char* later : {"shell32.dll", "shlwapi.dll", "oleacc.dll", "ole32.dll", "oleaut32.dll",
                                "comctl32.dll", "winmm.dll"})
        EXPECT_NE(dll, later);
    }
  }
}

// Every function the runtime binds on its first call works from that call on, each through the
// slot or definition the runtime gives it (none of these DLLs is imported here either).
TEST(Imports, EachFunctionBoundOnFirstCallWorksFromItsFirstCall) {
  forms::UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, {}, {}, {}, {}));
  IAccessible* accessible = nullptr;
  ASSERT_EQ(::CreateStdAccessibleObject(window.Get(), OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&accessible)), S_OK);
  accessible->Release();
  wchar_t host[64] = L"";
  DWORD length = 64;
  EXPECT_EQ(::UrlGetPartW(L"http://127.0.0.1:8917/a.htm", host, &length, URL_PART_HOSTNAME, 0), S_OK);
  EXPECT_STREQ(host, L"127.0.0.1");
  EXPECT_EQ(reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", "Z:\\no such file.txt", "", "", 0)),
            SE_ERR_FNF);
  EXPECT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
  VARIANT text;
  ::VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = ::SysAllocStringLen(L"abc", 3);
  EXPECT_EQ(::SysStringLen(text.bstrVal), 3u);
  EXPECT_TRUE(::VariantClear(&text) == S_OK && text.vt == VT_EMPTY);
  const INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
  EXPECT_TRUE(::InitCommonControlsEx(&init));
  EXPECT_TRUE(::PlaySoundW(nullptr, nullptr, 0));
}

}  // namespace
