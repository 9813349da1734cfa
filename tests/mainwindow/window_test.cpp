// Start-up through the splash, the exit question, the fade-out and the window's place on screen.
#include "mainwindow/Module1.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

TEST_F(ProgramWindows, TheSplashRisesHoldsThenFallsIntoTheMainWindowsRise) {
  title& splash = Splash();
  splash.Show();
  EXPECT_TRUE(::GetWindowLongW(splash.hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  forms::UniqueRegion ellipse{::CreateEllipticRgn(8, 7, 273, 272)};
  EXPECT_TRUE(WindowHasShape(splash.hWnd(), ellipse.Get()));
  EXPECT_EQ(Alpha(splash.hWnd()), 0);
  Ticks(splash, 49);
  EXPECT_TRUE(Layered(splash.hWnd()));
  Ticks(splash, 1);
  EXPECT_FALSE(Layered(splash.hWnd()) || splash.Timer1.Enabled());

  splash.Timer2_Timer();  // three seconds are up
  EXPECT_FALSE(splash.Timer2.Enabled());
  Ticks(splash, 50);
  EXPECT_EQ(Alpha(splash.hWnd()), 5);
  EXPECT_FALSE(Main().Loaded());
  Ticks(splash, 1);
  ASSERT_TRUE(Main().Loaded());
  EXPECT_TRUE(::IsWindow(splash.hWnd()) && !::IsWindowVisible(splash.hWnd())) << "hidden, never unloaded";
  EXPECT_FALSE(splash.Timer1.Enabled());
  EXPECT_EQ(Alpha(Main().hWnd()), 0);
  Ticks(Main(), 49);
  EXPECT_TRUE(Layered(Main().hWnd()));
  Ticks(Main(), 1);
  EXPECT_FALSE(Layered(Main().hWnd()) || Main().Timer1.Enabled());
}

TEST_F(ProgramWindows, AClickReversesTheSplashsRiseAndTheLateTimerLeavesAHiddenMainWindowHidden) {
  title& splash = Splash();
  splash.Show();
  Ticks(splash, 10);  // 55
  splash.Image1_Click();
  Ticks(splash, 1);
  EXPECT_EQ(Alpha(splash.hWnd()), 50);
  splash.Image1_Click();  // during the fall: nothing
  Ticks(splash, 1);
  EXPECT_EQ(Alpha(splash.hWnd()), 45);
  while (!Main().Loaded()) Ticks(splash, 1);
  Main().Hide();  // say, into the notification area
  splash.Timer2_Timer();
  for (int tick = 0; tick < 3 && splash.Timer1.Enabled(); ++tick) Ticks(splash, 1);
  EXPECT_FALSE(::IsWindowVisible(Main().hWnd()) || ::IsWindowVisible(splash.hWnd()));
}

TEST_F(ProgramWindows, NoToTheExitQuestionChangesNothingYesFadesOutOnceToTheEnd) {
  Form1& main = LoadMainWindow();
  Ticks(main, 50);
  int asked = 0, answer = IDNO;
  forms::ReplaceMsgBoxForTesting([&](const std::wstring&, unsigned, const std::wstring&) {
    ++asked;
    return answer;
  });
  const auto snapping = [&] {
    return ::GetWindowLongPtrA(main.hWnd(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Module1::SnapWindowProc);
  };
  main.Picture13_Click();
  main.Picture11_Click();
  main.Picture18_Click();
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(Layered(main.hWnd()) || main.Timer1.Enabled());
  EXPECT_TRUE(snapping());

  answer = IDYES;
  main.Picture18_Click();
  ASSERT_TRUE(::IsWindow(main.hWnd()));
  EXPECT_FALSE(snapping()) << "no snapping while fading out";
  EXPECT_EQ(Alpha(main.hWnd()), 255) << "the fade-out starts from what is seen";
  main.Unload();  // a second request neither restarts nor speeds up the fade
  Ticks(main, 50);
  EXPECT_EQ(Alpha(main.hWnd()), 5);
  EXPECT_EQ(endCalls, 0);
  Ticks(main, 1);
  EXPECT_EQ(endCalls, 1);
}

TEST_F(ProgramWindows, OnlyMinusOneCountsAsTrueForTheTopmostBand) {
  HWND main = LoadMainWindow().hWnd();
  for (int16_t onTop : {-1, 1}) {  // 1: a true value of another language, but not ours
    EXPECT_EQ(Module1::SetTopMost(main, onTop) != 0, onTop == -1);
    EXPECT_EQ(TopMost(main), onTop == -1);
  }
}

// Edges within 19 pixels pull the window onto them; a resize that snaps becomes a move as well.
TEST(SnapToWorkArea, LandsOnTheEdgesWithinNineteenPixels) {
  constexpr RECT kScreen{0, 0, 1024, 738}, kAt400{400, 300, 708, 461};
  constexpr UINT kMove = SWP_NOZORDER, kPureSize = SWP_NOMOVE | SWP_NOZORDER;
  const struct {
    RECT workArea;
    WINDOWPOS pos;
    RECT current;
    int wantX, wantY;
  } cases[] = {
      {kScreen, {nullptr, nullptr, 19, 300, 308, 161, kMove}, kAt400, 0, 300},
      {kScreen, {nullptr, nullptr, 20, 300, 308, 161, kMove}, kAt400, 20, 300},
      {kScreen, {nullptr, nullptr, -19, 300, 308, 161, kMove}, kAt400, 0, 300},
      {kScreen, {nullptr, nullptr, -20, 300, 308, 161, kMove}, kAt400, -20, 300},
      {RECT{0, 30, 1024, 768}, {nullptr, nullptr, 300, 45, 308, 161, kMove}, kAt400, 300, 30},
      {kScreen, {nullptr, nullptr, 5, 300, 1010, 161, kMove}, kAt400, 14, 300},  // right beats left
      // cx and cy are empty when the size does not change
      {kScreen, {nullptr, nullptr, 700, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER}, RECT{100, 100, 408, 261}, 716, 300},
      {kScreen, {nullptr, nullptr, 0, 0, 308, 161, kPureSize}, RECT{100, 570, 336, 595}, 100, 577},
      {kScreen, {nullptr, nullptr, 0, 0, 308, 161, kPureSize}, RECT{100, 100, 336, 125}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pos.x << "," << c.pos.y << " flags " << c.pos.flags);
    WINDOWPOS pos = c.pos;
    Module1::SnapToWorkArea(pos, c.workArea, c.current);
    EXPECT_TRUE(pos.x == c.wantX && pos.y == c.wantY && pos.cx == c.pos.cx && pos.cy == c.pos.cy);
    const bool pureSize = c.pos.flags & SWP_NOMOVE;
    EXPECT_EQ((pos.flags & SWP_NOMOVE) == 0, !pureSize || c.wantX != 0 || c.wantY != 0);
  }
}

}  // namespace
}  // namespace sonbrel
