// The main window's icon in the notification area, and the record the shell's call takes: its
// first and smallest form with the ANSI tip, 88 bytes on 32-bit Windows, the same fields at their
// own widths on 64-bit.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "forms/forms.h"

namespace sonbrel {

struct TrayIconRecord {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
};

static_assert(sizeof(void*) != 4 || sizeof(TrayIconRecord) == 88);
static_assert(sizeof(TrayIconRecord) == NOTIFYICONDATAA_V1_SIZE);

constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;                // 512

// The record for `window`: its icon, and `caption` as the tip followed by one NUL and spaces to
// the field's 64 bytes in the ANSI code page.
TrayIconRecord MakeTrayIconRecord(HWND window, HICON icon, const std::wstring& caption);

// The shell's notification call; tests put a recorder in its place. Empty restores the shell's.
using NotifyShellCall = std::function<BOOL(DWORD message, TrayIconRecord* record)>;
void ReplaceNotifyShellForTesting(NotifyShellCall call);

// The icon of one window: hiding the window into it, and back.
class NotificationIcon {
 public:
  explicit NotificationIcon(forms::Form& window) : window_(window) {}
  NotificationIcon(const NotificationIcon&) = delete;
  NotificationIcon& operator=(const NotificationIcon&) = delete;

  // Adds the icon with the window's icon and caption, then hides the window; without an icon
  // nothing could show the window again, so a refused add leaves it shown.
  void HideWindow();
  // Shows the window and takes the icon away.
  void RestoreWindow();
  // A restarted shell has forgotten its icons: ours comes back while the window is hidden in it.
  void ShellRestarted();

 private:
  forms::Form& window_;
  // Filled at each hide; the delete and the re-add pass it unchanged.
  TrayIconRecord TrayIconData{};
  bool added_ = false;
};

}  // namespace sonbrel
