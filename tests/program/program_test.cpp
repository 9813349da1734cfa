#include "running_program.h"

namespace {

using namespace program_testing;

HWND VisibleChildAt(HWND parent, RECT rect) {
  for (const auto& child : support::VisibleChildren(parent))
    if (::EqualRect(&child.rect, &rect)) return child.window;
  return nullptr;
}

TEST_F(RunningProgram, StartsThroughTheSplashIntoTheMainWindowShowingTheStationPage) {
  EXPECT_FALSE(::IsWindowVisible(splash));
  EXPECT_TRUE(::IsWindow(splash)) << "the splash stays loaded";
  support::WindowFacts facts = support::DescribeWindow(mainWindow);
  EXPECT_EQ(facts.rect.right - facts.rect.left, 308);
  EXPECT_EQ(facts.rect.bottom - facts.rect.top, 161);
  forms::UniqueRegion outline{::CreateRoundRectRgn(0, 0, 309, 162, 11, 11)};
  forms::UniqueRegion region = support::WindowRegion(mainWindow);
  EXPECT_TRUE(support::SameShape(region.Get(), outline.Get()));

  EXPECT_TRUE(server.WaitForRequests(kStationPage, 1, 10000));
  support::WaitFor([] { return false; }, 1500);  // anything more would come now
  EXPECT_EQ(server.Requests(kStationPage), 1);
}

TEST_F(RunningProgram, ASecondCopyEndsAtOnceAndBringsTheFirstToTheFront) {
  ASSERT_TRUE(server.WaitForRequests(kStationPage, 1, 10000));
  // Something else in front first, so the activation shows.
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
  ::SetForegroundWindow(other);
  support::PumpMessages();

  ChildProcess second = ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\"");
  bool showedAWindow = false;
  ASSERT_TRUE(support::WaitFor(
      [&] {
        for (HWND w : second.Windows()) showedAWindow |= ::IsWindowVisible(w) != FALSE;
        return second.ExitCode().has_value();
      },
      10000));
  EXPECT_FALSE(showedAWindow);
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(support::WaitFor([&] { return ::GetForegroundWindow() == mainWindow; }, 3000));
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
  EXPECT_FALSE(program->ExitCode().has_value()) << "the first copy runs on";
  EXPECT_EQ(server.Requests(kStationPage), 1);
  ::DestroyWindow(other);
}

TEST_F(RunningProgram, TheHiddenRefreshButtonLoadsThePageAgain) {
  ASSERT_TRUE(server.WaitForRequests(kStationPage, 1, 10000));
  HWND leftEdge = VisibleChildAt(mainWindow, RECT{0, 99, 6, 163});
  ASSERT_NE(leftEdge, nullptr);
  ::PostMessageW(leftEdge, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 20));
  ::PostMessageW(leftEdge, WM_LBUTTONUP, 0, MAKELPARAM(3, 20));
  ::PostMessageW(leftEdge, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 20));
  ::PostMessageW(leftEdge, WM_LBUTTONUP, 0, MAKELPARAM(3, 20));
  HWND refresh = nullptr;
  ASSERT_TRUE(support::WaitFor([&] { return (refresh = VisibleChildAt(mainWindow, RECT{284, 29, 301, 48})); }, 3000));
  EXPECT_EQ(support::WindowClass(refresh), L"Button");
  ::PostMessageW(refresh, BM_CLICK, 0, 0);
  EXPECT_TRUE(server.WaitForRequests(kStationPage, 2, 10000));
}

TEST_F(RunningProgram, ClosingTheMainWindowFadesItOutAndEndsTheProcess) {
  support::WaitFor([] { return false; }, 800);  // let the rise finish
  ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  bool sawFading = false;
  ASSERT_TRUE(support::WaitFor(
      [&] {
        if (auto alpha = support::LayeredAlpha(mainWindow)) sawFading |= *alpha > 0 && *alpha < 255;
        return program->ExitCode().has_value();
      },
      10000));
  EXPECT_TRUE(sawFading);
  EXPECT_EQ(program->ExitCode(), 0u);
}

}  // namespace
