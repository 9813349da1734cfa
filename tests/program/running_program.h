// The built Sonbrel.exe started for a test with its station server, up to its risen main window,
// and driven with input the system generates.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "support/station_server.h"
#include "support/user_input.h"
#include "support/window_probe.h"

namespace program_testing {

using support::ChildProcess;

constexpr wchar_t kTitle[] = L"Harlune网络FM播放器";
constexpr char kStationPage[] = "/sonbrel/index3.htm";

inline ChildProcess StartProgram() { return ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\""); }
inline HWND MainWindowOf(const ChildProcess& program) {
  HWND main = nullptr;
  support::WaitFor([&] { return (main = support::VisibleWindowOf(program.Id(), kTitle)); }, 15000);
  return main;
}
// Also long enough that the next click is not the second half of a double click.
inline void Pause(DWORD ms = ::GetDoubleClickTime() + 100) { support::WaitFor([] { return false; }, ms); }

class RunningProgram : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening()) << "port " << SONBREL_WEB_PORT << " is taken";
    program = StartProgram();
    ASSERT_TRUE(support::WaitFor([&] { return (splash = support::VisibleWindowOf(program->Id(), L"Form3")); }, 10000))
        << "no splash";
    ASSERT_TRUE(mainWindow = MainWindowOf(*program)) << "no main window";
    ASSERT_TRUE(server.WaitForRequests(kStationPage, 1, 10000));
    ASSERT_TRUE(support::WaitFor([&] { return !support::LayeredAlpha(mainWindow); }, 5000)) << "still fading in";
  }
  POINT OnScreen(POINT inWindow) {
    RECT r;
    ::GetWindowRect(mainWindow, &r);
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  void ClickAt(POINT inWindow) {
    support::MovePointerTo(OnScreen(inWindow));
    support::Click();
  }
  // The other process paints when it gets to it.
  bool Shows(POINT topLeft, int bitmapId) {
    return support::WaitFor([&] { return support::ScreenShowsBitmap(OnScreen(topLeft), SONBREL_EXE, bitmapId); }, 2000);
  }

  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_WEB_PORT};
  std::optional<ChildProcess> program;
  HWND splash = nullptr, mainWindow = nullptr;
};

}  // namespace program_testing
