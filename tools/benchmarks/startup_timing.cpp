// Starts Sonbrel.exe a few times and prints how long it takes until the splash shows, until the
// main window shows and until the station page is asked for, each against an empty program's first
// window (empty_window.exe, built beside this) started in the same round, in turn with it.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "support/station_server.h"
#include "support/window_probe.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool ShowsWindow(DWORD processId, const std::wstring& caption) {
  return support::VisibleWindowOf(processId, caption) != nullptr;
}

struct Run {
  double splash, mainWindow, page;
};

Run StartOnce(support::LoopbackStationServer& server, int pageRequestsBefore) {
  const Clock::time_point start = Clock::now();
  support::ChildProcess program = support::ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\"");
  Run run{};
  support::WaitFor([&] { return ShowsWindow(program.Id(), L"Form3"); }, 10000);
  run.splash = MsSince(start);
  support::WaitFor([&] { return ShowsWindow(program.Id(), L"Harlune网络FM播放器"); }, 15000);
  run.mainWindow = MsSince(start);
  server.WaitForRequests("/sonbrel/index3.htm", pageRequestsBefore + 1, 10000);
  run.page = MsSince(start);
  program.Terminate();
  program.WaitForExit(5000);
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The baseline: from the start of the process until its window is visible.
double EmptyProgramOnce() {
  const Clock::time_point start = Clock::now();
  support::ChildProcess program = support::ChildProcess::Start(L"\"" + std::wstring(EMPTY_EXE) + L"\"");
  support::WaitFor([&] { return ShowsWindow(program.Id(), L"Empty"); }, 10000);
  const double ms = MsSince(start);
  program.Terminate();
  program.WaitForExit(5000);
  return ms;
}

// The median over the rounds of each round's ratio to its baseline.
double MedianRatio(const std::vector<double>& ms, const std::vector<double>& baseline) {
  std::vector<double> ratios;
  for (size_t i = 0; i < ms.size(); ++i) ratios.push_back(ms[i] / baseline[i]);
  return Median(ratios);
}

}  // namespace

int wmain() {
  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  if (!server.Listening()) {
    std::printf("port %d is taken\n", SONBREL_TEST_WEB_PORT);
    return 1;
  }
  constexpr int kRuns = 9;
  EmptyProgramOnce();  // both programs' DLLs are read once before anything is timed
  StartOnce(server, 0);
  std::vector<double> empty, splash, mainWindow, page;
  for (int i = 0; i < kRuns; ++i) {
    empty.push_back(EmptyProgramOnce());
    Run run = StartOnce(server, i + 1);
    std::printf("run %d: empty program %.0f ms; splash %.0f ms, main window %.0f ms, page requested %.0f ms\n", i + 1,
                empty.back(), run.splash, run.mainWindow, run.page);
    splash.push_back(run.splash);
    mainWindow.push_back(run.mainWindow);
    page.push_back(run.page);
  }
  std::printf("median of %d rounds; baseline: an empty program's first window %.0f ms\n", kRuns, Median(empty));
  std::printf("splash visible        %6.0f ms  %5.2f x baseline\n", Median(splash), MedianRatio(splash, empty));
  std::printf("main window visible   %6.0f ms  %5.2f x baseline\n", Median(mainWindow), MedianRatio(mainWindow, empty));
  std::printf("page requested        %6.0f ms  %5.2f x baseline\n", Median(page), MedianRatio(page, empty));
  return 0;
}
