#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

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
  ASSERT_TRUE(PumpUntil([&] { return form.ticks >= 3; }, 3000));
  const auto tickedWithin200ms = [&] {
    const int before = form.ticks;
    return PumpUntil([&] { return form.ticks > before; }, 200);
  };
  form.Timer1.Enabled(false);
  EXPECT_FALSE(tickedWithin200ms());
  form.Timer1.Enabled(true);
  EXPECT_TRUE(tickedWithin200ms());
  form.Timer1.Interval(0);
  EXPECT_FALSE(tickedWithin200ms());
  form.Timer1.Enabled(true);  // interval 0 never ticks, enabled or not
  EXPECT_FALSE(tickedWithin200ms());
}

// Each of left, top, width and height is rounded on its own, halves to the even pixel.
TEST(ControlGeometry, TwipsBecomeWholePixelsBeforeAndAfterLoad) {
  const struct {
    float left, top, width, height;
    std::vector<long> expected;  // left, top, right, bottom
  } cases[] = {
      {-10, -20, 1125, 450, {-1, -1, 74, 29}},
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

TEST(ControlGeometry, ChildWindowsStackInTheLayoutsOrder) {
  TestForm form;
  form.Show();
  const HWND layoutOrder[] = {form.Box.hWnd(), form.Box2.hWnd(), form.Button.hWnd(),
                              form.Text.hWnd()};
  std::vector<HWND> stacked;
  for (HWND w = ::GetWindow(form.hWnd(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    stacked.push_back(w);
  }
  EXPECT_EQ(stacked, std::vector<HWND>(std::begin(layoutOrder), std::end(layoutOrder)));
}

}  // namespace
}  // namespace forms_windows_test
