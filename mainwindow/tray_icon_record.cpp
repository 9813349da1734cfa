#include "mainwindow/tray_icon_record.h"

#include <cstring>

namespace sonbrel {

namespace {

std::string ToAnsi(const wchar_t* text, int length) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

// Whole characters only, and the NUL always inside the field: the shell reads the tip up to it,
// and half a character or no end at all would show as garbage.
void WriteTip(CHAR (&tip)[64], const std::wstring& caption) {
  std::memset(tip, ' ', sizeof tip);
  size_t used = 0;
  for (size_t i = 0; i < caption.size();) {
    const int units = IS_HIGH_SURROGATE(caption[i]) && i + 1 < caption.size() ? 2 : 1;
    const std::string bytes = ToAnsi(caption.data() + i, units);
    if (used + bytes.size() >= sizeof tip) break;
    std::memcpy(tip + used, bytes.data(), bytes.size());
    used += bytes.size();
    i += static_cast<size_t>(units);
  }
  tip[used] = '\0';
}

}  // namespace

TrayIconRecord MakeTrayIconRecord(HWND window, HICON icon, const std::wstring& caption) {
  TrayIconRecord record{};
  record.cbSize = sizeof record;
  record.uID = kTrayIconId;
  record.hWnd = window;
  record.uFlags = kTrayIconFlags;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  WriteTip(record.szTip, caption);
  return record;
}

}  // namespace sonbrel
