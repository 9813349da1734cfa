// Switches the real main window between its views 10,000 times, moves the pointer over its buttons
// 10,000 times and hides it to the notification area and back 1,000 times, and prints what the
// process holds (GDI objects, windows, committed memory) before and as it goes. A
// leak shows as a figure that keeps growing.
//   cmake/wine-run build/windows-x64/tools/benchmarks/soak.exe [rounds]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "forms/forms.h"
#include "mainwindow/Form1.h"
#include "shared/application.h"
#include "support/gdi_objects.h"
#include "support/window_probe.h"

namespace {

struct Holdings {
  int gdi, windows;
  SIZE_T committed;
};

BOOL CALLBACK CountChildren(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

BOOL CALLBACK CountWithChildren(HWND window, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  ::EnumChildWindows(window, CountChildren, counter);
  return TRUE;
}

int WindowsOfThisThread() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWithChildren, reinterpret_cast<LPARAM>(&count));
  return count;
}

// GetGuiResources answers 0 under Wine: the GDI objects come from the process's handle table.
Holdings Now() {
  Holdings h{};
  const HANDLE self = ::GetCurrentProcess();
  const auto gdi = support::CountGdiObjects(self);
  h.gdi = gdi ? gdi->total : -1;
  h.windows = WindowsOfThisThread();
  PROCESS_MEMORY_COUNTERS memory{};
  if (::K32GetProcessMemoryInfo(self, &memory, sizeof memory)) h.committed = memory.PagefileUsage;
  return h;
}

void Print(const char* what, int done, const Holdings& h) {
  std::printf("%-20s %6d  GDI objects %4d  windows %3d  committed %8.1f kB\n", what, done, h.gdi, h.windows,
              static_cast<double>(h.committed) / 1024);
}

// Six switches: each view there and back, from both normal faces.
void SwitchEveryWay(sonbrel::Form1& main) {
  main.Picture2_Click();   // open the panel
  main.Picture11_Click();  // to mini from there
  main.Picture12_Click();
  main.Picture1_Click();   // close the panel
  main.Picture11_Click();
  main.Picture12_Click();
  support::PumpMessages();
}

void HideAndRestore(sonbrel::Form1& main) {
  main.Picture10_Click();
  ::SendMessageW(main.hWnd(), WM_MOUSEMOVE, 1, MAKELPARAM(WM_LBUTTONDBLCLK, 0));  // the icon's double click
  support::PumpMessages();
}

// Across the title buttons and off them onto the strip: every move changes looks.
void HoverAcross(sonbrel::Form1& main) {
  for (forms::PictureBox* box : {&main.Picture10, &main.Picture11, &main.Picture13, &main.Picture4})
    ::SendMessageW(box->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(8, 9));
  support::PumpMessages();
}

template <class Action>
void Soak(const char* what, int times, Action action) {
  action();  // whatever the system keeps once, it keeps now
  Print(what, 0, Now());
  for (int quarter = 1; quarter <= 4; ++quarter) {
    for (int i = 0; i < times / 4; ++i) action();
    Print(what, quarter * (times / 4), Now());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int times = argc > 1 ? std::atoi(argv[1]) : 10000;
  forms::App().Title(sonbrel::kApplicationTitle);
  sonbrel::Form1& main = forms::Forms::Get<sonbrel::Form1>();
  main.Show();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();  // opaque, as after the fade-in
  support::PumpMessages();
  std::printf("after the first round, then after each quarter (switches count 6, hover moves 4 a round)\n");
  Soak("switch rounds", times / 6, [&] { SwitchEveryWay(main); });
  Soak("hover rounds", times / 4, [&] { HoverAcross(main); });
  Soak("hides and restores", times / 10, [&] { HideAndRestore(main); });
  forms::Forms::DestroyAllForTesting();
  return 0;
}
