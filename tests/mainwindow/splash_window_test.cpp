#include "program_fixture.h"
#include "support/window_probe.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

TEST_F(ProgramWindows, TheSplashIsAnEllipseOutOfTheTaskbarFadingInFromTransparent) {
  title& splash = Splash();
  splash.Show();
  HWND w = splash.hWnd();
  EXPECT_TRUE(::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  forms::UniqueRegion ellipse{::CreateEllipticRgn(8, 7, 273, 272)};
  EXPECT_TRUE(WindowHasShape(w, ellipse.Get()));
  EXPECT_EQ(Alpha(w), 0);
  // The first copy's guard changes neither the title nor the caption.
  EXPECT_EQ(forms::App().Title(), L"Harlune网络FM播放器");
  EXPECT_EQ(support::WindowCaption(w), L"Form3");
}

TEST_F(ProgramWindows, TheSplashRisesStaysOpaqueThenHandsOverWhenAskedToClose) {
  title& splash = Splash();
  splash.Show();
  for (int tick = 0; tick < 50; ++tick) splash.Timer1_Timer();
  EXPECT_FALSE(Layered(splash.hWnd()));
  EXPECT_FALSE(splash.Timer1.Enabled());

  splash.Timer2_Timer();  // three seconds are up
  EXPECT_FALSE(splash.Timer2.Enabled());
  EXPECT_TRUE(::IsWindow(splash.hWnd())) << "the splash is never unloaded";
  EXPECT_TRUE(splash.Timer1.Enabled());
  for (int tick = 0; tick < 50; ++tick) splash.Timer1_Timer();
  EXPECT_EQ(Alpha(splash.hWnd()), 5);
  EXPECT_FALSE(Main().Loaded());
  splash.Timer1_Timer();
  ASSERT_TRUE(Main().Loaded());
  EXPECT_TRUE(::IsWindowVisible(Main().hWnd()));
  EXPECT_FALSE(::IsWindowVisible(splash.hWnd()));
  EXPECT_FALSE(splash.Timer1.Enabled());
}

TEST_F(ProgramWindows, AClickDuringTheRiseReversesFromTheAlphaReached) {
  title& splash = Splash();
  splash.Show();
  for (int tick = 0; tick < 10; ++tick) splash.Timer1_Timer();  // 55
  splash.Image1_Click();
  splash.Timer1_Timer();
  EXPECT_EQ(Alpha(splash.hWnd()), 50);
  splash.Image1_Click();  // a click during the fall changes nothing
  splash.Timer1_Timer();
  EXPECT_EQ(Alpha(splash.hWnd()), 45);
}

TEST_F(ProgramWindows, TheLateOneShotTimerDoesNotBringBackAHiddenMainWindow) {
  title& splash = Splash();
  splash.Show();
  splash.Image1_Click();
  while (!Main().Loaded()) splash.Timer1_Timer();
  Main().Hide();  // say, into the notification area

  splash.Timer2_Timer();
  for (int tick = 0; tick < 3 && splash.Timer1.Enabled(); ++tick) splash.Timer1_Timer();
  EXPECT_FALSE(::IsWindowVisible(Main().hWnd()));
  EXPECT_FALSE(splash.Timer1.Enabled());
  EXPECT_FALSE(::IsWindowVisible(splash.hWnd()));
}

TEST_F(ProgramWindows, OnceStartUpHasSettledNoTimerRuns) {
  Splash().Show();
  auto settled = [this] {
    return Main().Loaded() && !Splash().Timer1.Enabled() && !Splash().Timer2.Enabled() &&
           !Main().Timer1.Enabled();
  };
  // Real timers this time: rise, three seconds, fall, hand-over, the main window's rise.
  ASSERT_TRUE(support::WaitFor(settled, 15000));
  EXPECT_TRUE(::IsWindowVisible(Main().hWnd()));
  EXPECT_FALSE(::IsWindowVisible(Splash().hWnd()));
  EXPECT_FALSE(Layered(Main().hWnd()));
}

}  // namespace
}  // namespace sonbrel
