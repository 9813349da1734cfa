// Hiding to the notification area and coming back on a double click on the icon.
#include "mainwindow/Form1.h"

namespace sonbrel {

namespace {

// The shell sends the icon's mouse message as the pointer's x in pixels.
constexpr int kLeftDoubleClick = WM_LBUTTONDBLCLK;  // 515

UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace

void Form1::ConnectTrayButtons() {
  Picture10.Click = [this] { Picture10_Click(); };
  Picture19.Click = [this] { Picture19_Click(); };
}

void Form1::Picture10_Click() { HideToNotificationArea(); }
void Form1::Picture19_Click() { HideToNotificationArea(); }

void Form1::HideToNotificationArea() {
  TrayIconData = MakeTrayIconRecord(hWnd(), Icon(), Caption());
  // Without an icon nothing could ever show the window again.
  if (!::Shell_NotifyIcon(NIM_ADD, &TrayIconData)) return;
  Hide();
}

void Form1::NotificationIcon_MouseMove(float X) {
  // X is in twips at the screen's resolution; back to the pixels the shell sent.
  const int n = forms::RoundHalfEven(X / forms::Screen::TwipsPerPixelX());
  if (n != kLeftDoubleClick) return;
  Show();
  ::Shell_NotifyIcon(NIM_DELETE, &TrayIconData);
}

// A restarted shell has forgotten the icons; a hidden window would be lost without its own.
void Form1::Form_RegisteredMessage(UINT message, WPARAM, LPARAM) {
  if (message != TaskbarCreatedMessage() || Visible() || TrayIconData.cbSize == 0) return;
  ::Shell_NotifyIcon(NIM_ADD, &TrayIconData);
}

}  // namespace sonbrel
