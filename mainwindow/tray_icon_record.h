// The record the shell's notification call takes, in its first and smallest form with the ANSI
// tip: 88 bytes on 32-bit Windows, the same fields at their own widths on 64-bit.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

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

}  // namespace sonbrel

// shell32's undecorated entry point, which takes the ANSI record.
#undef Shell_NotifyIcon
extern "C" __declspec(dllimport) BOOL WINAPI Shell_NotifyIcon(DWORD dwMessage,
                                                              sonbrel::TrayIconRecord* lpData);
