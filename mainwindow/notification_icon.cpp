#include "mainwindow/notification_icon.h"

#include <cstring>

// shell32's undecorated entry point, which takes the ANSI record.
#undef Shell_NotifyIcon
extern "C" __declspec(dllimport) BOOL WINAPI Shell_NotifyIcon(DWORD dwMessage,
                                                              sonbrel::TrayIconRecord* lpData);

namespace sonbrel {

namespace {

// Whole characters only, and the NUL always inside the field: the shell reads the tip up to it,
// and half a character or no end at all would show as garbage.
void WriteTip(CHAR (&tip)[64], const std::wstring& caption) {
  std::memset(tip, ' ', sizeof tip);
  size_t used = 0;
  for (size_t i = 0; i < caption.size();) {
    const int units = IS_HIGH_SURROGATE(caption[i]) && i + 1 < caption.size() ? 2 : 1;
    const std::string bytes = forms::ToCodePage(std::wstring_view(caption).substr(i, units), CP_ACP);
    if (used + bytes.size() >= sizeof tip) break;
    std::memcpy(tip + used, bytes.data(), bytes.size());
    used += bytes.size();
    i += static_cast<size_t>(units);
  }
  tip[used] = '\0';
}

NotifyShellCall& NotifyShellReplacement() {
  static NotifyShellCall replacement;
  return replacement;
}

BOOL NotifyShell(DWORD message, TrayIconRecord& record) {
  if (NotifyShellReplacement()) return NotifyShellReplacement()(message, &record);
  return ::Shell_NotifyIcon(message, &record);
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

void ReplaceNotifyShellForTesting(NotifyShellCall call) { NotifyShellReplacement() = std::move(call); }

void NotificationIcon::HideWindow() {
  TrayIconData = MakeTrayIconRecord(window_.hWnd(), window_.Icon(), window_.Caption());
  if (!NotifyShell(NIM_ADD, TrayIconData)) return;
  added_ = true;
  window_.Hide();
}

void NotificationIcon::RestoreWindow() {
  window_.Show();
  NotifyShell(NIM_DELETE, TrayIconData);
  added_ = false;
}

void NotificationIcon::ShellRestarted() {
  if (added_ && !window_.Visible()) NotifyShell(NIM_ADD, TrayIconData);
}

}  // namespace sonbrel
