// probe.exe [--wait MS] "caption": prints the facts of every top-level window with that
// caption (visible ones first), one "name value..." line each, a "window" line opening each
// window. Exits 1 when no window has the caption, 2 on a wrong command line.
#include <cstdio>
#include <cwchar>
#include <string>

#include "support/window_probe.h"

namespace {

void PrintUsage() { std::fputs("usage: probe.exe [--wait MS] \"caption\"\n", stderr); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD waitMs = 0;
  int next = 1;
  if (argc == 4 && std::wcscmp(argv[1], L"--wait") == 0) {
    waitMs = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
    next = 3;
  }
  if (argc != next + 1) {
    PrintUsage();
    return 2;
  }
  const std::wstring caption = argv[next];
  std::vector<HWND> windows;
  support::WaitFor([&] { return !(windows = support::FindTopLevelWindows(caption)).empty(); }, waitMs);
  if (windows.empty()) {
    std::fputs("no window\n", stdout);
    return 1;
  }
  for (HWND window : windows) {
    std::string facts = support::FormatFacts(support::DescribeWindow(window));
    std::fwrite(facts.data(), 1, facts.size(), stdout);
  }
  return 0;
}
