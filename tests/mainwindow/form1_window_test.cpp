#include <string>
#include <vector>

#include "mainwindow/Module1.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

RECT ChildRect(HWND child) {
  RECT r;
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The layout itself is the layout table's; here what it must come to on the screen.
TEST_F(ProgramWindows, MainWindowIsTheRoundedSkinOverThePageInTheLayoutsOrder) {
  Form1& main = LoadMainWindow();
  RECT window;
  ::GetWindowRect(main.hWnd(), &window);
  EXPECT_EQ(window.right - window.left, 308);
  EXPECT_EQ(window.bottom - window.top, 161);
  EXPECT_EQ(::GetWindowLongW(main.hWnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_NE(main.Icon(), nullptr);
  forms::UniqueRegion outline{::CreateRoundRectRgn(0, 0, 309, 162, 11, 11)};
  EXPECT_TRUE(WindowHasShape(main.hWnd(), outline.Get()));

  // Front to back: the hidden refresh button first, the page behind everything, reaching past
  // the outline on every side.
  std::vector<HWND> children;
  for (HWND c = ::GetWindow(main.hWnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (::GetParent(c) == main.hWnd()) children.push_back(c);
  ASSERT_EQ(children.size(), 23u);
  EXPECT_EQ(children.front(), main.Command1.hWnd());
  EXPECT_FALSE(::IsWindowVisible(main.Command1.hWnd()));
  EXPECT_EQ(children.back(), main.html.hWnd());
  const RECT page = ChildRect(main.html.hWnd());
  EXPECT_TRUE(page.left < 0 && page.top < 0 && page.right > 308 && page.bottom > 161);
}

TEST_F(ProgramWindows, LoadingTheMainWindowHidesTheSplashAndFadesIn) {
  Splash().Show();
  Splash().HandOver();
  Form1& main = Main();
  EXPECT_FALSE(::IsWindowVisible(Splash().hWnd()));
  EXPECT_TRUE(::IsWindowVisible(main.hWnd()));
  EXPECT_EQ(Alpha(main.hWnd()), 0);
  int ticks = 0;
  while (main.Timer1.Enabled() && ticks < 100) {
    main.Timer1_Timer();
    ++ticks;
  }
  EXPECT_EQ(ticks, 50);
  EXPECT_FALSE(Layered(main.hWnd()));
  EXPECT_EQ(main.Fade.FadeAlpha, 255);
}

TEST_F(ProgramWindows, AnUnloadRequestIsRefusedStopsSnappingAndFadesOutToTheEnd) {
  Form1& main = LoadMainWindow();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();
  ASSERT_EQ(::GetWindowLongPtrA(main.hWnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Module1::SnapWindowProc));

  main.Unload();
  ASSERT_TRUE(::IsWindow(main.hWnd()));
  EXPECT_NE(::GetWindowLongPtrA(main.hWnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Module1::SnapWindowProc));
  EXPECT_TRUE(Layered(main.hWnd()));

  main.Unload();  // a second request neither restarts nor speeds up the fade
  for (int tick = 1; tick <= 50; ++tick) main.Timer1_Timer();
  EXPECT_EQ(Alpha(main.hWnd()), 5);
  EXPECT_EQ(endCalls, 0);
  main.Timer1_Timer();
  EXPECT_EQ(endCalls, 1);
}

TEST_F(ProgramWindows, RealMovesOfTheMainWindowPassThroughTheSnapping) {
  Form1& main = LoadMainWindow();
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const auto leftAfterMoveTo = [&](int x) {
    ::SetWindowPos(main.hWnd(), nullptr, x, work.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    ::GetWindowRect(main.hWnd(), &r);
    return r.left;
  };
  EXPECT_EQ(leftAfterMoveTo(work.left + 19), work.left);
  EXPECT_EQ(leftAfterMoveTo(work.left + 20), work.left + 20);
  // A write of Left through the runtime is a move like any other.
  main.Left(static_cast<float>((work.left + 10) * 15));
  RECT r;
  ::GetWindowRect(main.hWnd(), &r);
  EXPECT_EQ(r.left, work.left);
}

TEST_F(ProgramWindows, OnlyMinusOneCountsAsTrueForTheTopmostBand) {
  HWND main = LoadMainWindow().hWnd();
  auto topmost = [main] { return (::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  int16_t onTop = -1;
  EXPECT_NE(Module1::SetTopMost(main, onTop), 0);
  EXPECT_TRUE(topmost());
  onTop = 1;  // a true value of another language, but not ours
  EXPECT_EQ(Module1::SetTopMost(main, onTop), 0);
  EXPECT_FALSE(topmost());
}

TEST_F(ProgramWindows, DoubleClicksOnTheLeftEdgeShowAndHideTheRefreshButton) {
  Form1& main = LoadMainWindow();
  HWND edge = main.Picture6.hWnd();
  auto doubleClick = [edge] {
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
      ::SendMessageW(edge, press, MK_LBUTTON, MAKELPARAM(2, 10));
      ::SendMessageW(edge, WM_LBUTTONUP, 0, MAKELPARAM(2, 10));
    }
  };
  doubleClick();
  EXPECT_TRUE(::IsWindowVisible(main.Command1.hWnd()));
  doubleClick();
  EXPECT_FALSE(::IsWindowVisible(main.Command1.hWnd()));
}

}  // namespace
}  // namespace sonbrel
