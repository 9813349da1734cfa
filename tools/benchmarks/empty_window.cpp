// The least a Win32 program does to put a window on screen: the baseline of the start-up timing.
// A borderless window as wide as the splash (279 pixels), shown at once; it runs until closed.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = Procedure;
  cls.hInstance = instance;
  cls.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
  cls.lpszClassName = L"EmptyWindow";
  ::RegisterClassW(&cls);
  const HWND window = ::CreateWindowExW(0, cls.lpszClassName, L"Empty", WS_POPUP, 100, 100, 279, 279, nullptr,
                                        nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
