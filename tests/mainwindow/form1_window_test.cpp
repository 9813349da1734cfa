#include <string>
#include <vector>

#include "mainwindow/Module1.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

struct Expected {
  const char* name;
  forms::Control* (*control)(Form1&);
  RECT rect;  // left, top, width, height in client pixels
  bool visible;
};

#define CONTROL(member) #member, [](Form1& f) -> forms::Control* { return &f.member; }

// Front to back, in pixels as the screen at 15 twips per pixel shows them.
const Expected kLayout[] = {
    {CONTROL(Command1), {284, 29, 17, 19}, false},
    {CONTROL(Picture21), {286, 165, 17, 19}, true},
    {CONTROL(Picture20), {210, 1, 12, 10}, false},
    {CONTROL(Picture18), {222, 1, 12, 10}, false},
    {CONTROL(Picture17), {0, 24, 236, 1}, false},
    {CONTROL(Picture12), {222, 12, 12, 10}, false},
    {CONTROL(Picture13), {286, 4, 17, 19}, true},
    {CONTROL(Picture11), {268, 4, 17, 19}, true},
    {CONTROL(Picture8), {0, 158, 308, 29}, true},
    {CONTROL(Picture7), {301, 99, 7, 64}, true},
    {CONTROL(Picture6), {0, 99, 6, 64}, true},
    {CONTROL(Picture2), {216, 99, 93, 24}, true},
    {CONTROL(Picture1), {216, 99, 93, 24}, true},
    {CONTROL(Picture9), {272, 123, 43, 38}, true},
    {CONTROL(Picture10), {250, 4, 17, 19}, true},
    {CONTROL(Picture16), {0, 0, 236, 1}, false},
    {CONTROL(Picture14), {0, 0, 29, 25}, false},
    {CONTROL(Picture3), {-1, -1, 75, 30}, true},
    {CONTROL(Picture19), {210, 12, 12, 10}, false},
    {CONTROL(Picture15), {209, 0, 27, 25}, false},
    {CONTROL(Picture5), {56, -1, 174, 30}, true},
    {CONTROL(Picture4), {207, -1, 102, 30}, true},
    {CONTROL(html), {-3, -3, 323, 574}, true},
};

RECT ChildRect(HWND child) {
  RECT r;
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "x" +
         std::to_string(r.bottom);
}

TEST_F(ProgramWindows, MainWindowLoadsAsTheLayoutStoresIt) {
  Form1& main = LoadMainWindow();
  RECT window;
  ::GetWindowRect(main.hWnd(), &window);
  EXPECT_EQ(window.right - window.left, 308);
  EXPECT_EQ(window.bottom - window.top, 161);
  EXPECT_EQ(window.left, 263);
  EXPECT_EQ(window.top, 135);
  EXPECT_EQ(::GetWindowLongW(main.hWnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);

  wchar_t caption[64] = {};
  ::GetWindowTextW(main.hWnd(), caption, 64);
  EXPECT_EQ(std::wstring(caption), L"Harlune网络FM播放器");
  EXPECT_NE(main.Icon(), nullptr);

  forms::UniqueRegion outline{::CreateRoundRectRgn(0, 0, 309, 162, 11, 11)};
  EXPECT_TRUE(WindowHasShape(main.hWnd(), outline.Get()));

  std::vector<HWND> stacked;
  for (const Expected& e : kLayout) {
    forms::Control* control = e.control(main);
    HWND child = control->hWnd();
    ASSERT_NE(child, nullptr) << e.name;
    EXPECT_EQ(Describe(ChildRect(child)), Describe(e.rect)) << e.name;
    EXPECT_EQ(::IsWindowVisible(child) != FALSE, e.visible) << e.name;
    stacked.push_back(child);
  }
  std::vector<HWND> actual;
  for (HWND c = ::GetWindow(main.hWnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (::GetParent(c) == main.hWnd()) actual.push_back(c);
  EXPECT_EQ(actual, stacked);
  EXPECT_EQ(main.Command1.ToolTipText(), L"刷新");
  EXPECT_EQ(main.Picture2.ToolTipText(), L"打开/关闭播放列表");
}

TEST_F(ProgramWindows, LoadingTheMainWindowHidesTheSplashAndFadesIn) {
  Splash().Show();
  ASSERT_TRUE(::IsWindowVisible(Splash().hWnd()));
  Form1& main = Main();
  main.Show();
  EXPECT_FALSE(::IsWindowVisible(Splash().hWnd()));
  EXPECT_TRUE(::IsWindowVisible(main.hWnd()));
  EXPECT_TRUE(Layered(main.hWnd()));
  EXPECT_EQ(Alpha(main.hWnd()), 0);
  EXPECT_TRUE(main.Timer1.Enabled());
  EXPECT_EQ(main.Timer1.Interval(), 5u);

  for (int tick = 1; tick <= 49; ++tick) main.Timer1_Timer();
  EXPECT_EQ(Alpha(main.hWnd()), 250);
  main.Timer1_Timer();
  EXPECT_FALSE(Layered(main.hWnd()));
  EXPECT_FALSE(main.Timer1.Enabled());
  EXPECT_EQ(main.Fade.FadeAlpha, 255);
}

TEST_F(ProgramWindows, AnUnloadRequestIsRefusedStopsSnappingAndFadesOutToTheEnd) {
  Form1& main = LoadMainWindow();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();
  ASSERT_EQ(::GetWindowLongPtrA(main.hWnd(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(Module1::SnapWindowProc));

  main.Unload();
  ASSERT_TRUE(::IsWindow(main.hWnd()));
  EXPECT_NE(::GetWindowLongPtrA(main.hWnd(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(Module1::SnapWindowProc));
  EXPECT_TRUE(Layered(main.hWnd()));
  EXPECT_TRUE(main.Timer1.Enabled());

  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(main.hWnd(), nullptr, work.left + 19, work.top + 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT r;
  ::GetWindowRect(main.hWnd(), &r);
  EXPECT_EQ(r.left, work.left + 19) << "no snapping once exit has begun";

  main.Unload();  // a second request neither restarts nor speeds up the fade
  for (int tick = 1; tick <= 50; ++tick) main.Timer1_Timer();
  EXPECT_EQ(Alpha(main.hWnd()), 5);
  EXPECT_EQ(endCalls, 0);
  main.Timer1_Timer();
  EXPECT_EQ(endCalls, 1);
  EXPECT_EQ(main.FadeDone, -1);
}

TEST_F(ProgramWindows, AnEarlyExitFadesFromTheAlphaReached) {
  Form1& main = LoadMainWindow();
  for (int tick = 0; tick < 10; ++tick) main.Timer1_Timer();  // 55
  main.Unload();
  main.Timer1_Timer();
  EXPECT_EQ(Alpha(main.hWnd()), 50);
}

TEST_F(ProgramWindows, RealMovesOfTheMainWindowPassThroughTheSnapping) {
  Form1& main = LoadMainWindow();
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  struct {
    int x, wantX;
  } moves[] = {{work.left + 19, work.left},
               {work.left + 20, work.left + 20},
               {work.right - 308 - 16, work.right - 308},
               {work.right - 308 + 20, work.right - 308 + 20}};
  for (const auto& m : moves) {
    ::SetWindowPos(main.hWnd(), nullptr, m.x, work.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    ::GetWindowRect(main.hWnd(), &r);
    EXPECT_EQ(r.left, m.wantX) << "move to " << m.x;
    EXPECT_EQ(r.right - r.left, 308);
  }
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
    ::SendMessageW(edge, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    ::SendMessageW(edge, WM_LBUTTONUP, 0, MAKELPARAM(2, 10));
    ::SendMessageW(edge, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 10));
    ::SendMessageW(edge, WM_LBUTTONUP, 0, MAKELPARAM(2, 10));
  };
  doubleClick();
  EXPECT_TRUE(::IsWindowVisible(main.Command1.hWnd()));
  doubleClick();
  EXPECT_FALSE(::IsWindowVisible(main.Command1.hWnd()));
}

}  // namespace
}  // namespace sonbrel
