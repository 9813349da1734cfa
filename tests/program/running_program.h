// The built Sonbrel.exe started for a test with its station server, up to its main window.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "support/station_server.h"
#include "support/window_probe.h"

namespace program_testing {

using namespace std::chrono;
using support::ChildProcess;

constexpr wchar_t kTitle[] = L"Harlune网络FM播放器";
constexpr char kStationPage[] = "/sonbrel/index3.htm";

// The program started with its station server, up to its main window.
class RunningProgram : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening()) << "port " << SONBREL_WEB_PORT << " is taken";
    started = steady_clock::now();
    program = ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\"");
    ASSERT_TRUE(program->Started());
    ASSERT_TRUE(support::WaitFor([&] { return (splash = support::VisibleWindowOf(program->Id(), L"Form3")); }, 10000))
        << "no splash";
    splashShown = steady_clock::now();
    ASSERT_TRUE(support::WaitFor([&] { return (mainWindow = support::VisibleWindowOf(program->Id(), kTitle)); }, 15000))
        << "no main window";
    mainShown = steady_clock::now();
  }

  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_WEB_PORT};
  std::optional<ChildProcess> program;
  steady_clock::time_point started, splashShown, mainShown;
  HWND splash = nullptr;
  HWND mainWindow = nullptr;
};

}  // namespace program_testing
