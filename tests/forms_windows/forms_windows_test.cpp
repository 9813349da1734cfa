// The runtime's forms and controls as real windows under Wine, driven by real window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "forms/forms.h"

namespace {

using Events = std::vector<std::string>;

// Client 200 x 100 px at (100, 100); the pixel places of the controls are in the comments.
class TestForm : public forms::Form {
 public:
  using Form::Stack;

  TestForm() : Form({.caption = L"forms test", .clientWidth = 3000, .clientHeight = 1500, .left = 1500, .top = 1500}) {
    Box.Move(150, 150, 300, 300);      // (10, 10) 20 x 20
    Front.Move(600, 150, 300, 300);    // (40, 10) 20 x 20
    Back.Move(750, 150, 300, 300);     // (50, 10) 20 x 20, under Front from x 50 to 59
    Rule.Points(0, 750, 3000, 750);    // across the label, in front of it
    Link.Move(150, 600, 900, 300);     // (10, 40) 60 x 20
    Button.Move(1500, 600, 600, 375);  // (100, 40)
    Stack({&Box, &Front, &Back, &Rule, &Link, &Button});
    for (auto [control, name] : {std::pair<forms::Control*, std::string>{&Box, "Box"}, {&Front, "Front"},
                                 {&Back, "Back"}, {&Link, "Link"}}) {
      control->MouseDown = Recorder(name + ".MouseDown");
      control->MouseUp = Recorder(name + ".MouseUp");
      control->MouseMove = Recorder(name + ".MouseMove");
      control->Click = [this, name] { events.push_back(name + ".Click"); };
      control->DblClick = [this, name] { events.push_back(name + ".DblClick"); };
    }
    Timer1.Tick = [this] { ++ticks; };
  }

  forms::PictureBox Box{*this};
  forms::Image Front{*this}, Back{*this};
  forms::Line Rule{*this};
  forms::Label Link{*this};
  forms::CommandButton Button{*this};
  forms::Timer Timer1{*this};
  Events events;
  int ticks = 0;

 protected:
  void Form_MouseMove(int16_t b, int16_t s, float x, float y) override { Recorder("Form.MouseMove")(b, s, x, y); }

 private:
  std::function<void(int16_t, int16_t, float, float)> Recorder(std::string what) {
    return [this, what](int16_t button, int16_t shift, float x, float y) {
      char text[64];
      std::snprintf(text, sizeof text, " %d %d %g %g", button, shift, x, y);
      events.push_back(what + text);
    };
  }
};

// -1.5 and -2.5 pixels both round to -2: each of left, top, width and height on its own, halves to even.
TEST(ControlGeometry, TwipsBecomeWholePixelsBeforeAndAfterLoadAndWindowsStackInTheLayoutsOrder) {
  TestForm before, after;
  before.Box.Move(-22.5f, -37.5f, 1125, 450);
  before.Show();
  after.Show();
  after.Box.Move(-22.5f, -37.5f, 1125, 450);
  for (TestForm* form : {&before, &after}) {
    RECT r{};
    ::GetWindowRect(form->Box.hWnd(), &r);
    ::MapWindowPoints(HWND_DESKTOP, form->hWnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::vector<long>{r.left, r.top, r.right, r.bottom}), (std::vector<long>{-2, -2, 73, 28}));
  }
  EXPECT_EQ(::GetWindow(after.Box.hWnd(), GW_HWNDNEXT), after.Button.hWnd());
  after.Stack({&after.Button, &after.Rule, &after.Box});  // changed after the load
  EXPECT_EQ(::GetWindow(after.Button.hWnd(), GW_HWNDNEXT), after.Box.hWnd());
}

// Takes the window's next WM_TIMER off the queue, leaving everything else there.
bool FetchTick(HWND window, MSG& tick, ULONGLONG withinMs) {
  for (const ULONGLONG end = ::GetTickCount64() + withinMs;
       !::PeekMessageW(&tick, window, WM_TIMER, WM_TIMER, PM_REMOVE);) {
    if (::GetTickCount64() >= end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
  }
  return true;
}

// A tick fetched while the timer ran is handed in after it stopped, as the queue would.
TEST(Timer, AStoppedTimerDropsTheQueuedTickAndTicksNoMore) {
  const std::pair<void (*)(forms::Timer&), int> cases[] = {
      {[](forms::Timer&) {}, 1}, {[](forms::Timer& t) { t.Enabled(false); }, 0}, {[](forms::Timer& t) { t.Interval(0); }, 0}};
  for (int i = 0; const auto& [stop, ticks] : cases) {
    SCOPED_TRACE(i++);  // running, disabled, interval 0
    TestForm form;
    form.Timer1.Interval(10);  // stored before the load, armed by it
    form.Show();
    MSG queued{};
    ASSERT_TRUE(FetchTick(form.hWnd(), queued, 3000));
    stop(form.Timer1);
    ::DispatchMessageW(&queued);
    EXPECT_EQ(form.ticks, ticks);
    EXPECT_EQ(FetchTick(form.hWnd(), queued, 300), ticks == 1);
  }
}

// Telling the tooltip window of a tool again hides a showing tip.
WNDPROC g_tooltipProc = nullptr;
int g_toolChanges = 0;
LRESULT CALLBACK CountingTooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_toolChanges += message == TTM_ADDTOOLW || message == TTM_DELTOOLW;
  return ::CallWindowProcW(g_tooltipProc, window, message, wParam, lParam);
}

TEST(Tooltips, FollowTheControlsTextAndLeaveUnchangedToolsAlone) {
  const std::pair<void (*)(TestForm&), int> cases[] = {{[](TestForm& f) { f.Link.ToolTipText(L"Tip"); }, 0},
                                                       {[](TestForm& f) { f.Link.ToolTipText(L"Other tip"); }, 2},
                                                       {[](TestForm& f) { f.Link.Visible(false); }, 1}};
  for (int i = 0; const auto& [change, toolChanges] : cases) {
    SCOPED_TRACE(i++);  // same text again, new text, hidden
    TestForm form;
    form.Link.ToolTipText(L"Tip");
    form.Show();
    HWND tip = nullptr;
    while ((tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) && ::GetWindow(tip, GW_OWNER) != form.hWnd()) {}
    ASSERT_NE(tip, nullptr);
    g_tooltipProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingTooltipProc)));
    g_toolChanges = 0;
    change(form);
    ::SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tooltipProc));
    EXPECT_EQ(g_toolChanges, toolChanges);
  }
}

// A window that is gone refuses the region: it stays ours and goes with its owner.
TEST(GiveRegionToWindow, ARefusedRegionStaysWithItsOwner) {
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);
  forms::UniqueRegion refused(::CreateRectRgn(0, 0, 5, 5));
  const HRGN handle = refused.Get();
  EXPECT_FALSE(forms::GiveRegionToWindow(gone, refused));
  EXPECT_EQ(refused.Get(), handle);
  refused.Reset();
  EXPECT_EQ(::GetObjectType(handle), 0u);
}

// Child windows get their own messages; the form's surface hit-tests its windowless controls.
TEST(MouseEvents, ReachTheRightHandlerInTwipsAndStayWithThePressedControl) {
  ASSERT_EQ(forms::Screen::TwipsPerPixelX(), 15.0f);  // every expected value is for 96 dpi
  TestForm form;
  form.Show();
  constexpr UINT kLoseCapture = WM_NULL;  // another window takes the mouse away
  struct Step { UINT message; WPARAM keys; int x, y; };
  const struct { bool onBox; std::vector<Step> steps; Events expected; } cases[] = {
      {true, {{WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 6}, {WM_LBUTTONUP, 0, 5, 6}}, {"Box.DblClick", "Box.MouseUp 1 0 75 90"}},
      // The front image over the back one.
      {false, {{WM_LBUTTONDOWN, MK_LBUTTON, 55, 15}, {WM_LBUTTONUP, 0, 55, 15}},
       {"Front.MouseDown 1 0 225 75", "Front.MouseUp 1 0 225 75", "Front.Click"}},
      // A pressed image keeps the mouse until the last button is up.
      {false, {{WM_LBUTTONDOWN, MK_LBUTTON, 45, 15}, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 45, 15},
               {WM_RBUTTONUP, MK_LBUTTON, 45, 15}, {WM_LBUTTONUP, 0, 35, 15}, {WM_MOUSEMOVE, 0, 35, 15}},
       {"Front.MouseDown 1 0 75 75", "Front.MouseDown 2 0 75 75", "Front.MouseUp 2 0 75 75",
        "Front.MouseUp 1 0 -75 75", "Form.MouseMove 0 0 525 225"}},
      // A box that lost the mouse does not click.
      {true, {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 6}, {kLoseCapture, 0, 0, 0}, {WM_LBUTTONUP, 0, 5, 6}},
       {"Box.MouseDown 1 0 75 90", "Box.MouseUp 1 0 75 90"}},
      // An image that lost the mouse neither keeps it nor clicks.
      {false, {{WM_LBUTTONDOWN, MK_LBUTTON, 45, 15}, {kLoseCapture, 0, 0, 0}, {WM_MOUSEMOVE, MK_LBUTTON, 20, 50},
               {WM_LBUTTONUP, 0, 45, 15}},
       {"Front.MouseDown 1 0 75 75", "Link.MouseMove 1 0 150 150", "Front.MouseUp 1 0 75 75"}},
  };
  for (int i = 0; const auto& c : cases) {
    SCOPED_TRACE(i++);
    form.events.clear();
    for (const Step& s : c.steps) {
      if (s.message == kLoseCapture) ::ReleaseCapture();
      ::SendMessageW(c.onBox ? form.Box.hWnd() : form.hWnd(), s.message, s.keys,
                     MAKELPARAM(static_cast<WORD>(s.x), static_cast<WORD>(s.y)));
    }
    ::ReleaseCapture();
    EXPECT_EQ(form.events, c.expected);
  }
}

}  // namespace
