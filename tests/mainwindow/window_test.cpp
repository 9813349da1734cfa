#include <algorithm>
#include <vector>

#include "mainwindow/Module1.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

TEST_F(ProgramWindows, TheSplashRisesHoldsThenFallsIntoTheMainWindowsRise) {
  title& splash = Splash();
  splash.Show();
  forms::UniqueRegion ellipse{::CreateEllipticRgn(8, 7, 273, 272)};
  EXPECT_TRUE(WindowHasShape(splash.hWnd(), ellipse.Get()));
  EXPECT_TRUE(::GetWindowLongW(splash.hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "out of the taskbar";
  EXPECT_EQ(Alpha(splash.hWnd()), 0);
  Ticks(splash, 50);
  EXPECT_FALSE(Layered(splash.hWnd()) || splash.Timer1.Enabled());
  splash.Timer2_Timer();  // three seconds are up
  Ticks(splash, 50);
  EXPECT_EQ(Alpha(splash.hWnd()), 5);
  EXPECT_FALSE(Main().Loaded());
  Ticks(splash, 1);
  ASSERT_TRUE(Main().Loaded());
  EXPECT_TRUE(::IsWindow(splash.hWnd()) && !::IsWindowVisible(splash.hWnd())) << "hidden, never unloaded";
  EXPECT_FALSE(splash.Timer1.Enabled() || splash.Timer2.Enabled());
  EXPECT_EQ(Alpha(Main().hWnd()), 0);
  Ticks(Main(), 50);
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

// A resize that snaps becomes a move as well.
TEST(SnapToWorkArea, LandsOnTheEdgesWithinNineteenPixels) {
  constexpr RECT kScreen{0, 0, 1024, 738}, kAt400{400, 300, 708, 461}, kBelow{0, 30, 1024, 768};
  constexpr UINT kMove = SWP_NOZORDER, kPureMove = SWP_NOSIZE | SWP_NOZORDER, kPureSize = SWP_NOMOVE | SWP_NOZORDER;
  const struct { RECT workArea, current; WINDOWPOS pos; POINT want; } cases[] = {
      {kScreen, kAt400, {0, 0, 19, 300, 308, 161, kMove}, {0, 300}},
      {kScreen, kAt400, {0, 0, 20, 300, 308, 161, kMove}, {20, 300}},
      {kScreen, kAt400, {0, 0, -20, 300, 308, 161, kMove}, {-20, 300}},
      {kBelow, kAt400, {0, 0, 300, 45, 308, 161, kMove}, {300, 30}},
      {kScreen, kAt400, {0, 0, 5, 300, 1010, 161, kMove}, {14, 300}},                // right beats left
      {kScreen, {100, 100, 408, 261}, {0, 0, 700, 300, 0, 0, kPureMove}, {716, 300}},  // no cx, cy
      {kScreen, {100, 570, 336, 595}, {0, 0, 0, 0, 308, 161, kPureSize}, {100, 577}},
      {kScreen, {100, 100, 336, 125}, {0, 0, 0, 0, 308, 161, kPureSize}, {0, 0}}};
  for (const auto& c : cases) {
    WINDOWPOS pos = c.pos;
    Module1::SnapToWorkArea(pos, c.workArea, c.current);
    EXPECT_TRUE(pos.x == c.want.x && pos.y == c.want.y && pos.cx == c.pos.cx && pos.cy == c.pos.cy) << c.pos.x;
    EXPECT_EQ((pos.flags & SWP_NOMOVE) != 0, (c.pos.flags & SWP_NOMOVE) && c.want.x == 0 && c.want.y == 0) << c.pos.x;
  }
}

using Row = Form1::SkinButton;
using Box = forms::PictureBox Form1::*;
using ButtonLooks = ProgramWindows;

TEST_F(ButtonLooks, EachHoversResetsItsGroupPressesOnlyForTheLeftReleasesToNormalAndTheAreasResetTheirGroups) {
  Form1& main = LoadMainWindow();
  std::vector<const Row*> buttons;
  for (const Row& b : Form1::SkinButtons())  // looks only: no click may switch modes, hide or ask about the exit
    if (b.looks) buttons.push_back(&b), (main.*b.control).Click = nullptr;
  ASSERT_EQ(buttons.size(), 8u);
  const auto Shows = [&](const Row& b, int look) {
    return (main.*b.control).Picture().SameLook(forms::LoadResPicture(b.looks + look, 0));
  };
  const auto SetEveryButton = [&](int look) {
    for (const Row* b : buttons) (main.*b->control).Picture(forms::LoadResPicture(b->looks + look, 0));
  };
  const auto Send = [&](Box box, UINT message, WPARAM keys) { ::SendMessageW((main.*box).hWnd(), message, keys, 0); };
  for (const Row* b : buttons) {
    SCOPED_TRACE(b->looks);
    SetEveryButton(2);
    Send(b->control, WM_MOUSEMOVE, MK_RBUTTON);  // whatever the buttons held
    for (const Row* other : buttons) EXPECT_TRUE(Shows(*other, other == b ? 1 : other->group == b->group ? 0 : 2));
    for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) Send(b->control, message, 0);
    EXPECT_TRUE(Shows(*b, 1)) << "right and middle change nothing";
    Send(b->control, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_TRUE(Shows(*b, 2));
    Send(b->control, WM_LBUTTONUP, 0);
    EXPECT_TRUE(Shows(*b, 0)) << "normal, not hover";
  }
  // Only the four areas around the groups reset them. nullptr: the window surface.
  const std::vector<Box> title{&Form1::Picture10, &Form1::Picture11, &Form1::Picture13},
      mini{&Form1::Picture12, &Form1::Picture18, &Form1::Picture19, &Form1::Picture20}, none;
  const std::pair<Box, std::vector<Box>> areas[] = {{nullptr, title},          {&Form1::Picture4, title},
                                                    {&Form1::Picture14, mini}, {&Form1::Picture8, {&Form1::Picture21}},
                                                    {&Form1::Picture3, none},  {&Form1::Picture15, none},
                                                    {&Form1::Picture9, none}};
  for (const auto& [area, reset] : areas) {
    SetEveryButton(1);
    ::SendMessageW(area ? (main.*area).hWnd() : main.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    for (const Row* b : buttons)
      EXPECT_TRUE(Shows(*b, std::ranges::count(reset, b->control) ? 0 : 1)) << b->looks << " after " << reset.size();
  }
}

TEST(DragStart, RoundsHalvesToEvenAndHoldsTo16Bits) {
  const std::pair<float, int> cases[] = {{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-2.5f, -2}, {4e4f, 32767}, {-4e4f, -32768}};
  for (const auto& [twips, want] : cases) EXPECT_EQ(DragStartFrom(twips), want) << twips;
}

std::vector<WINDOWPOS> g_askedPositions;
WNDPROC g_beforeRecorder = nullptr;
LRESULT CALLBACK RecordAskedPositions(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING) g_askedPositions.push_back(*reinterpret_cast<WINDOWPOS*>(lParam));
  return ::CallWindowProcW(g_beforeRecorder, w, message, wParam, lParam);
}
// Puts the recorder on top of the window's procedure, or takes it out again.
void Record(HWND w, bool on) {
  const auto proc = reinterpret_cast<LONG_PTR>(on ? RecordAskedPositions : g_beforeRecorder);
  if (!on) ::SetWindowLongPtrW(w, GWLP_WNDPROC, proc);
  else g_askedPositions.clear(), g_beforeRecorder = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(w, GWLP_WNDPROC, proc));
}

// Another procedure put on top of ours must keep getting the messages when ours is taken out.
TEST_F(ProgramWindows, TheSnappingComesOutOnlyWhileItIsOnTopAndARefusedInstallLeavesNothingToUndo) {
  Form1& main = LoadMainWindow();
  const auto ours = [&] {
    return ::GetWindowLongPtrA(main.hWnd(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Module1::SnapWindowProc);
  };
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const auto moveTo = [&](int x) {
    ::SetWindowPos(main.hWnd(), nullptr, work.left + x, work.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return MainRect().left - work.left;
  };
  ASSERT_TRUE(ours());
  Record(main.hWnd(), true);
  Module1::UnhookWindow();
  EXPECT_EQ(moveTo(5), 0) << "still snapping behind the other";
  EXPECT_EQ(g_askedPositions.size(), 1u) << "the other still sees the messages";
  Record(main.hWnd(), false);
  Module1::UnhookWindow();
  EXPECT_TRUE(!ours() && Module1::PrevWndProc == nullptr && moveTo(5) == 5);

  Module1::MainHwnd = ::GetDesktopWindow();  // another process's: the system refuses
  Module1::HookWindow();
  EXPECT_EQ(Module1::PrevWndProc, nullptr);
  Module1::MainHwnd = main.hWnd();
  Module1::UnhookWindow();
  EXPECT_TRUE(!ours() && moveTo(6) == 6) << "nothing was undone";
  Module1::HookWindow();
  Module1::HookWindow();  // twice: ours must not become its own predecessor
  EXPECT_TRUE(ours() && moveTo(7) == 0);
  Module1::UnhookWindow();
  EXPECT_TRUE(!ours() && moveTo(8) == 8);
  HWND window = main.hWnd();
  for (int16_t onTop : {-1, 1}) {  // only -1 is true for the topmost band; 1 is another language's true
    EXPECT_EQ(Module1::SetTopMost(window, onTop) != 0, onTop == -1);
    EXPECT_EQ(TopMost(window), onTop == -1);
  }
}

using Dragging = testing_support::ProgramWindows;
TEST_F(Dragging, OnlyTheLeftButtonAloneBringsThePressedPointBackUnderThePointerAfterAnySnap) {
  Form1& main = LoadMainWindow();
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(main.hWnd(), nullptr, work.left + 100, work.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  POINT press{30, 10};
  ::ClientToScreen(main.Picture3.hWnd(), &press);
  // The pointer dx, dy from the press, as the system reports it: relative to where the area is now.
  const auto send = [&](UINT message, WPARAM keys, int dx, int dy) {
    POINT p{press.x + dx, press.y + dy};
    ::ScreenToClient(main.Picture3.hWnd(), &p);
    ::SendMessageW(main.Picture3.hWnd(), message, keys, MAKELPARAM(p.x, p.y));
  };
  send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
  send(WM_LBUTTONUP, 0, 0, 0);
  for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP}) send(message, 0, 20, 20);  // only a left press starts a drag
  const RECT before = MainRect();
  for (WPARAM keys : {MK_RBUTTON, MK_LBUTTON | MK_RBUTTON, MK_LBUTTON | MK_MBUTTON}) send(WM_MOUSEMOVE, keys, 30, 30);
  EXPECT_TRUE(MainRect().left == before.left && MainRect().top == before.top) << "only the left button alone drags";
  Record(main.hWnd(), true);
  send(WM_MOUSEMOVE, MK_LBUTTON, 10, 5);
  Record(main.hWnd(), false);
  EXPECT_TRUE(MainRect().left == work.left + 110 && MainRect().top == work.top + 205);
  ASSERT_EQ(g_askedPositions.size(), 2u) << "two moves a step";
  EXPECT_TRUE(g_askedPositions[0].x == work.left + 110 && g_askedPositions[0].y == work.top + 200)
      << "the horizontal move first";
  send(WM_MOUSEMOVE, MK_LBUTTON, -88, 0);  // 12 from the edge
  EXPECT_EQ(MainRect().left, work.left);
  send(WM_MOUSEMOVE, MK_LBUTTON, -48, 20);
  EXPECT_TRUE(MainRect().left == work.left + 52 && MainRect().top == work.top + 220) << "the snap is not carried";
}

}  // namespace
}  // namespace sonbrel
