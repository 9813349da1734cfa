// Text as the runtime hands it on: between UTF-16 and a code page's bytes, and line ends.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace forms {

// UTF-8 bytes as UTF-16; empty when they are not valid UTF-8.
std::wstring FromUtf8(std::string_view utf8);
// UTF-16 in a code page (CP_UTF8, or CP_ACP for the ANSI calls).
std::string ToCodePage(std::wstring_view text, UINT codePage);
// Every line end (LF or CR LF) as CR LF, the only one the edit control breaks lines at.
std::wstring WithCrLfLines(std::wstring_view text);

}  // namespace forms
