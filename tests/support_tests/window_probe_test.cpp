#include "support/window_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// The square outline has the same bounding box, so only the pixels tell them apart.
TEST(SameShape, ComparesThePixelsCovered) {
  forms::UniqueRegion rounded(::CreateRoundRectRgn(0, 0, 309, 162, 11, 11));
  forms::UniqueRegion same(::CreateRoundRectRgn(0, 0, 309, 162, 11, 11));
  forms::UniqueRegion squareCorners(::CreateRectRgn(0, 0, 308, 161));
  forms::UniqueRegion biggerCorners(::CreateRoundRectRgn(0, 0, 309, 162, 13, 13));
  EXPECT_TRUE(support::SameShape(rounded.Get(), same.Get()));
  EXPECT_FALSE(support::SameShape(rounded.Get(), squareCorners.Get()));
  EXPECT_FALSE(support::SameShape(rounded.Get(), biggerCorners.Get()));
}

// Runs probe.exe and returns its exit code and its lines joined by "\n", with one before the first.
std::pair<DWORD, std::string> RunProbe(const std::wstring& caption) {
  support::ChildProcess probe =
      support::ChildProcess::Start(std::wstring(L"\"") + SONBREL_PROBE_EXE + L"\" \"" + caption + L"\"", true);
  std::string output = "\n" + probe.Output(20000);
  std::erase(output, '\r');  // a console program's text mode
  return {probe.ExitCode().value_or(~0u), output};
}

TEST(ProbeExe, ReportsTheRectRegionAndAlphaOfAnotherProcesssWindow) {
  const wchar_t caption[] = L"Probe target 探针";
  forms::UniqueWindow window(::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"Static", caption, WS_POPUP, 40, 50,
                                               308, 161, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  ::SetLayeredWindowAttributes(window.Get(), 0, 200, LWA_ALPHA);
  ::SetWindowRgn(window.Get(), ::CreateRoundRectRgn(0, 0, 309, 162, 11, 11), TRUE);
  ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
  auto [exitCode, output] = RunProbe(caption);
  ASSERT_EQ(exitCode, 0u) << output;
  for (const char* fact : {"\ncaption Probe target \xe6\x8e\xa2\xe9\x92\x88\n", "\nvisible 1\n",
                           "\nrect 40 50 348 211\n", "\nalpha 200\n", "\nregion 0 0 308 161 rects "})
    EXPECT_NE(output.find(fact), std::string::npos) << fact << " in" << output;
}

TEST(ProbeExe, ExitsWith1WhenNoWindowHasTheCaption) {
  EXPECT_EQ(RunProbe(L"no such window 8917").first, 1u);
}

}  // namespace
