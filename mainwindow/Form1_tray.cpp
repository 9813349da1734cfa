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

void Form1::Picture10_Click() { TrayIcon.HideWindow(); }
void Form1::Picture19_Click() { TrayIcon.HideWindow(); }

// The bare window surface: the pictures and the page cover it in every mode, so the moves that
// reach it are the notification icon's events; they reset the title buttons all the same.
void Form1::Form_MouseMove(int16_t, int16_t, float X, float) {
  ResetLooks(ButtonGroup::TitleStrip);
  NotificationIcon_MouseMove(X);
}

void Form1::NotificationIcon_MouseMove(float X) {
  // X is in twips at the screen's resolution; back to the pixels the shell sent.
  const int n = forms::RoundHalfEven(X / forms::Screen::TwipsPerPixelX());
  if (n == kLeftDoubleClick) TrayIcon.RestoreWindow();
}

void Form1::Form_RegisteredMessage(UINT message, WPARAM, LPARAM) {
  if (message == TaskbarCreatedMessage()) TrayIcon.ShellRestarted();
}

}  // namespace sonbrel
