#include <windows.h>

#include <string>
#include <string_view>

#include "about/Form2.h"

namespace sonbrel {

namespace {

std::string_view ResourceBytes(int id) {
  HMODULE program = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(id), L"TEXT");
  if (!found) return {};
  const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(program, found)));
  if (!bytes) return {};
  return std::string_view(bytes, ::SizeofResource(program, found));
}

std::wstring FromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, text.data(), length);
  return text;
}

// The files may come with LF or CR LF, depending on how they were checked out.
std::wstring WithCrLfLines(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') out += L'\r';
    out += c;
  }
  while (out.size() >= 2 && out.compare(out.size() - 2, 2, L"\r\n") == 0) out.resize(out.size() - 2);
  return out;
}

}  // namespace

std::wstring TextResource(int id) { return WithCrLfLines(FromUtf8(ResourceBytes(id))); }

}  // namespace sonbrel
