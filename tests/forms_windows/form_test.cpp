#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "forms/window_region.h"
#include "support/window_probe.h"
#include "test_form.h"

namespace forms_windows_test {
namespace {

TEST(FormLifecycle, ShowLoadsOnceAndUnloadOrCloseDestroyOnlyWithoutCancel) {
  const struct {
    bool viaClose;
    int16_t cancel;
  } cases[] = {{false, -1}, {false, 0}, {true, -1}, {true, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.viaClose ? "WM_CLOSE" : "Unload") << " cancel " << c.cancel);
    TestForm form;
    form.cancel = c.cancel;
    form.Timer1.Interval(10);
    EXPECT_FALSE(form.Loaded());
    form.Show();
    HWND window = form.hWnd();
    HWND child = form.Box.hWnd();
    form.Hide();
    form.Show();
    EXPECT_EQ(form.hWnd(), window);
    EXPECT_EQ(::SendMessageW(window, WM_GETICON, ICON_BIG, 0),
              reinterpret_cast<LRESULT>(form.Icon()));
    EXPECT_NE(form.Icon(), nullptr);
    if (c.viaClose) {
      ::SendMessageW(window, WM_CLOSE, 0, 0);
    } else {
      form.Unload();
    }
    const bool kept = c.cancel != 0;
    EXPECT_EQ(form.unloads, 1);  // the Unload nested in Form_Unload is ignored
    EXPECT_EQ(form.Loaded(), kept);
    EXPECT_EQ(::IsWindow(window) != FALSE, kept);
    EXPECT_EQ(::IsWindow(child) != FALSE, kept);
    form.Show();
    EXPECT_EQ(form.loads, kept ? 1 : 2);
    EXPECT_TRUE(::IsWindowVisible(form.hWnd()));
  }
}

// Records what a subclass of the window sees, as the program's snapping procedure would.
WNDPROC g_previous = nullptr;
std::vector<WINDOWPOS> g_changing;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING) {
    g_changing.push_back(*reinterpret_cast<const WINDOWPOS*>(lParam));
  }
  return ::CallWindowProcW(g_previous, window, message, wParam, lParam);
}

TEST(FormWindow, EachGeometryWriteIsOneFullMove) {
  const struct {
    const char* what;
    void (forms::Form::*write)(float);
    float twips;
    std::vector<long> expected;  // x, y, cx, cy
  } cases[] = {
      {"Left", &forms::Form::Left, 3000, {200, 100, 200, 100}},
      {"Top", &forms::Form::Top, 1515, {100, 101, 200, 100}},
      {"Width", &forms::Form::Width, 3540, {100, 100, 236, 100}},
      {"Height", &forms::Form::Height, 375, {100, 100, 200, 25}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestForm form;
    form.Show();
    g_previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        form.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    g_changing.clear();
    (form.*c.write)(c.twips);
    ::SetWindowLongPtrW(form.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    ASSERT_EQ(g_changing.size(), 1u);
    const WINDOWPOS& pos = g_changing.front();
    EXPECT_EQ((std::vector<long>{pos.x, pos.y, pos.cx, pos.cy}), c.expected);
    EXPECT_FALSE(pos.flags & (SWP_NOMOVE | SWP_NOSIZE));
  }
}

TEST(FormWindow, TimersTickWhileEnabledAndStop) {
  TestForm form;
  form.Timer1.Interval(20);  // stored before load, armed by the load
  form.Show();
  ASSERT_TRUE(support::WaitFor([&] { return form.ticks >= 3; }, 3000));
  const auto tickedWithin200ms = [&] {
    const int before = form.ticks;
    return support::WaitFor([&] { return form.ticks > before; }, 200);
  };
  form.Timer1.Enabled(false);
  EXPECT_FALSE(tickedWithin200ms());
  form.Timer1.Enabled(true);
  EXPECT_TRUE(tickedWithin200ms());
  form.Timer1.Interval(0);  // never ticks, enabled or not
  EXPECT_FALSE(tickedWithin200ms());
}

// Each of left, top, width and height is rounded on its own, halves to the even pixel (-1.5 to
// -2, -2.5 to -2, 8.5 to 8, 9.5 to 10).
TEST(ControlGeometry, TwipsBecomeWholePixelsBeforeAndAfterLoad) {
  const struct {
    float left, top, width, height;
    std::vector<long> expected;  // left, top, right, bottom
  } cases[] = {
      {-22.5f, -37.5f, 1125, 450, {-2, -2, 73, 28}},
      {4510, 1490, 105, 960, {301, 99, 308, 163}},
      {127.5f, 142.5f, 127.5f, 142.5f, {8, 10, 16, 20}},
      {-50, -40, 4850, 8615, {-3, -3, 320, 571}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << ", " << c.top << ", " << c.width);
    TestForm before;
    before.Box2.Move(c.left, c.top, c.width, c.height);
    before.Show();
    TestForm after;
    after.Show();
    after.Box2.Move(c.left, c.top, c.width, c.height);
    for (TestForm* form : {&before, &after}) {
      RECT r{};
      ::GetWindowRect(form->Box2.hWnd(), &r);
      ::MapWindowPoints(HWND_DESKTOP, form->hWnd(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ((std::vector<long>{r.left, r.top, r.right, r.bottom}), c.expected);
    }
  }
}

std::vector<HWND> ChildrenFrontToBack(HWND parent) {
  std::vector<HWND> children;
  for (HWND w = ::GetWindow(parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
  return children;
}

TEST(ControlGeometry, ChildWindowsStackInTheLayoutsOrderAlsoWhenItChanges) {
  TestForm form;
  form.Show();
  const std::vector<HWND> layoutOrder{form.Box.hWnd(), form.Box2.hWnd(), form.Button.hWnd(),
                                      form.Text.hWnd()};
  EXPECT_EQ(ChildrenFrontToBack(form.hWnd()), layoutOrder);
  form.Stack({&form.Text, &form.Button, &form.Rule, &form.Box2, &form.Box});
  EXPECT_EQ(ChildrenFrontToBack(form.hWnd()),
            std::vector<HWND>(layoutOrder.rbegin(), layoutOrder.rend()));
}

// Takes the window's next WM_TIMER off the queue, leaving everything else there.
bool FetchTick(HWND window, MSG& tick) {
  const ULONGLONG end = ::GetTickCount64() + 3000;
  while (!::PeekMessageW(&tick, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    if (::GetTickCount64() >= end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
  }
  return true;
}

// A WM_TIMER fetched while the timer ran, handed in after it stopped, as the queue would.
TEST(FormWindow, ATickQueuedBeforeTheTimerStoppedIsDropped) {
  const struct {
    const char* name;
    void (*stop)(forms::Timer&);
    int ticks;
  } cases[] = {{"running", [](forms::Timer&) {}, 1},
               {"disabled", [](forms::Timer& t) { t.Enabled(false); }, 0},
               {"interval 0", [](forms::Timer& t) { t.Interval(0); }, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestForm form;
    form.Timer1.Interval(10);
    form.Show();
    MSG queued{};
    ASSERT_TRUE(FetchTick(form.hWnd(), queued));
    c.stop(form.Timer1);
    ::DispatchMessageW(&queued);
    EXPECT_EQ(form.ticks, c.ticks);
  }
}

// Counts what the form's tooltip window is told, by subclassing it.
WNDPROC g_tooltipProc = nullptr;
int g_toolChanges = 0;

LRESULT CALLBACK CountingTooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TTM_ADDTOOLW || message == TTM_DELTOOLW) ++g_toolChanges;
  return ::CallWindowProcW(g_tooltipProc, window, message, wParam, lParam);
}

BOOL CALLBACK FindTooltipOf(HWND window, LPARAM found) {
  auto& [form, tooltip] = *reinterpret_cast<std::pair<HWND, HWND>*>(found);
  if (::GetWindow(window, GW_OWNER) != form || support::WindowClass(window) != TOOLTIPS_CLASSW) return TRUE;
  tooltip = window;
  return FALSE;
}

// Telling the tooltip window of a tool again hides a tip that is showing.
TEST(Tooltips, FollowTheControlsTextAndLeaveUnchangedToolsAlone) {
  const struct {
    const char* name;
    void (*change)(TestForm&);
    int toolChanges;
  } cases[] = {
      {"same text again", [](TestForm& f) { f.Link.ToolTipText(L"Tip"); }, 0},
      {"a new caption", [](TestForm& f) { f.Link.Caption(L"Other"); }, 0},
      {"new text", [](TestForm& f) { f.Link.ToolTipText(L"Other tip"); }, 2},
      {"hidden", [](TestForm& f) { f.Link.Visible(false); }, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestForm form;
    form.Link.ToolTipText(L"Tip");
    form.Show();
    std::pair<HWND, HWND> found{form.hWnd(), nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindTooltipOf, reinterpret_cast<LPARAM>(&found));
    ASSERT_NE(found.second, nullptr);
    EXPECT_EQ(::SendMessageW(found.second, TTM_GETTOOLCOUNT, 0, 0), 1);
    g_tooltipProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        found.second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingTooltipProc)));
    g_toolChanges = 0;
    c.change(form);
    ::SetWindowLongPtrW(found.second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tooltipProc));
    EXPECT_EQ(g_toolChanges, c.toolChanges);
  }
}

TEST(GiveRegionToWindow, TheWindowTakesTheRegionOnlyWhenItAccepts) {
  TestForm form;
  form.Show();
  forms::UniqueRegion taken(::CreateEllipticRgn(0, 0, 50, 40));
  forms::UniqueRegion expected(::CreateEllipticRgn(0, 0, 50, 40));
  EXPECT_TRUE(forms::GiveRegionToWindow(form.hWnd(), taken));
  EXPECT_FALSE(taken);
  forms::UniqueRegion shape = support::WindowRegion(form.hWnd());
  EXPECT_TRUE(shape && support::SameShape(shape.Get(), expected.Get()));

  // A window that is gone refuses it: the region stays ours and goes with its owner.
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);
  forms::UniqueRegion refused(::CreateRectRgn(0, 0, 5, 5));
  const HRGN handle = refused.Get();
  EXPECT_FALSE(forms::GiveRegionToWindow(gone, refused));
  EXPECT_EQ(refused.Get(), handle);
  EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_REGION));
  refused.Reset();
  EXPECT_EQ(::GetObjectType(handle), 0u);
}

}  // namespace
}  // namespace forms_windows_test
