#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_form.h"
#include "test_resources.h"

namespace forms_windows_test {
namespace {

TEST(FormLifecycle, ShowLoadsOnce) {
  TestForm form;
  EXPECT_FALSE(form.Loaded());
  form.Show();
  HWND first = form.hWnd();
  form.Hide();
  EXPECT_FALSE(form.Visible());
  form.Visible(true);
  form.Show();
  EXPECT_EQ(form.loads, 1);
  EXPECT_EQ(form.hWnd(), first);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(::IsWindow(form.Box.hWnd()));
}

TEST(FormLifecycle, UnloadAndCloseAskFirstAndDestroyOnlyWithoutCancel) {
  const struct {
    const char* road;
    bool viaClose;
    int16_t cancel;
  } cases[] = {{"Unload", false, -1}, {"Unload", false, 0}, {"WM_CLOSE", true, -1},
               {"WM_CLOSE", true, 0}};
  for (const auto& c : cases) {
    TestForm form;
    form.cancel = c.cancel;
    form.Timer1.Interval(10);
    form.Show();
    HWND window = form.hWnd();
    HWND child = form.Box.hWnd();
    if (c.viaClose) {
      ::SendMessageW(window, WM_CLOSE, 0, 0);
    } else {
      form.Unload();
    }
    const bool kept = c.cancel != 0;
    EXPECT_EQ(form.unloads, 1) << c.road << " cancel " << c.cancel;
    EXPECT_EQ(form.Loaded(), kept) << c.road << " cancel " << c.cancel;
    EXPECT_EQ(::IsWindow(window) != FALSE, kept) << c.road << " cancel " << c.cancel;
    EXPECT_EQ(::IsWindow(child) != FALSE, kept) << c.road << " cancel " << c.cancel;
    EXPECT_EQ(form.Box.hWnd() != nullptr, kept) << c.road << " cancel " << c.cancel;
  }
}

TEST(FormLifecycle, UnloadDuringUnloadIsIgnored) {
  TestForm form;
  form.unloadAgainWhileUnloading = true;
  form.Show();
  form.Unload();
  EXPECT_EQ(form.unloads, 1);
  EXPECT_FALSE(form.Loaded());
}

TEST(FormLifecycle, ShowAfterUnloadLoadsAfresh) {
  TestForm form;
  form.Show();
  form.Unload();
  form.Show();
  EXPECT_EQ(form.loads, 2);
  EXPECT_TRUE(::IsWindow(form.Box.hWnd()));
}

TEST(FormWindow, BorderlessWindowHasNoFrameAndItsStoredPlace) {
  forms::FormLayout layout = TestLayout();
  layout.iconResourceId = IDI_DISC;
  TestForm form(layout);
  form.Show();
  ASSERT_NE(form.Icon(), nullptr);
  EXPECT_EQ(::SendMessageW(form.hWnd(), WM_GETICON, ICON_BIG, 0),
            reinterpret_cast<LRESULT>(form.Icon()));
  EXPECT_NE(::SendMessageW(form.hWnd(), WM_GETICON, ICON_SMALL, 0), 0);
  const LONG_PTR style = ::GetWindowLongPtrW(form.hWnd(), GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(form.hWnd(), GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
  RECT r{};
  ::GetWindowRect(form.hWnd(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 100);
  EXPECT_EQ(form.Left(), 1500.0f);
  EXPECT_EQ(form.Width(), 3000.0f);
  wchar_t caption[64]{};
  ::GetWindowTextW(form.hWnd(), caption, 64);
  EXPECT_STREQ(caption, L"forms test");
}

TEST(FormWindow, FixedSingleToolWindowIsCentredWithTheLayoutsClientArea) {
  forms::FormLayout layout = TestLayout();
  layout.border = forms::BorderStyle::FixedSingle;
  layout.showInTaskbar = false;
  layout.startUpPosition = forms::StartUpPosition::CenterScreen;
  TestForm form(layout);
  form.Show();
  const LONG_PTR style = ::GetWindowLongPtrW(form.hWnd(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_POPUP));
  EXPECT_TRUE(::GetWindowLongPtrW(form.hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  RECT client{};
  ::GetClientRect(form.hWnd(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
  RECT work{}, outer{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::GetWindowRect(form.hWnd(), &outer);
  EXPECT_LE(std::abs((outer.left - work.left) - (work.right - outer.right)), 1);
  EXPECT_LE(std::abs((outer.top - work.top) - (work.bottom - outer.bottom)), 1);
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
    RECT expected;  // x, y, cx, cy
  } cases[] = {
      {"Left", &forms::Form::Left, 3000, {200, 100, 200, 100}},
      {"Top", &forms::Form::Top, 1515, {100, 101, 200, 100}},
      {"Width", &forms::Form::Width, 3540, {100, 100, 236, 100}},
      {"Height", &forms::Form::Height, 375, {100, 100, 200, 25}},
  };
  for (const auto& c : cases) {
    TestForm form;
    form.Show();
    g_previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        form.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    g_changing.clear();
    (form.*c.write)(c.twips);
    ::SetWindowLongPtrW(form.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    ASSERT_EQ(g_changing.size(), 1u) << c.what;
    const WINDOWPOS& pos = g_changing.front();
    EXPECT_EQ(pos.x, c.expected.left) << c.what;
    EXPECT_EQ(pos.y, c.expected.top) << c.what;
    EXPECT_EQ(pos.cx, c.expected.right) << c.what;
    EXPECT_EQ(pos.cy, c.expected.bottom) << c.what;
    EXPECT_FALSE(pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) << c.what;
  }
}

TEST(FormWindow, TimersTickWhileEnabledAndStop) {
  TestForm form;
  form.Timer1.Interval(20);  // stored before load, armed by the load
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return form.ticks >= 3; }, 3000));
  form.Timer1.Enabled(false);
  const int stoppedAt = form.ticks;
  PumpFor(200);
  EXPECT_EQ(form.ticks, stoppedAt);

  form.Timer1.Enabled(true);
  ASSERT_TRUE(PumpUntil([&] { return form.ticks > stoppedAt; }, 3000));
  form.Timer1.Interval(0);
  const int zeroedAt = form.ticks;
  PumpFor(200);
  EXPECT_EQ(form.ticks, zeroedAt);
}

TEST(FormWindow, IntervalZeroNeverTicks) {
  TestForm form;
  form.Show();
  form.Timer1.Enabled(true);
  PumpFor(200);
  EXPECT_EQ(form.ticks, 0);
}

TEST(FormWindow, PersistentSurfaceShowsUnderTheControls) {
  TestForm form;
  form.Show();
  EXPECT_EQ(form.hDC(), nullptr);
  form.AutoRedraw(true);
  ASSERT_NE(form.hDC(), nullptr);
  const RECT area{0, 60, 200, 100};
  forms::UniqueBrush green(::CreateSolidBrush(RGB(0, 255, 0)));
  ::FillRect(form.hDC(), &area, green.Get());
  ::InvalidateRect(form.hWnd(), nullptr, TRUE);
  ::UpdateWindow(form.hWnd());
  HDC screen = ::GetDC(form.hWnd());
  const COLORREF drawn = ::GetPixel(screen, 5, 90);
  const COLORREF back = ::GetPixel(screen, 5, 5);
  ::ReleaseDC(form.hWnd(), screen);
  EXPECT_EQ(drawn, RGB(0, 255, 0));
  EXPECT_EQ(back, RGB(0, 0, 128));
}

TEST(FormRegistry, EachFormExistsOnceUntilDestroyedForTesting) {
  TestForm& first = forms::Forms::Get<TestForm>();
  EXPECT_EQ(&forms::Forms::Get<TestForm>(), &first);
  first.Show();
  HWND window = first.hWnd();
  forms::Forms::DestroyAllForTesting();
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace forms_windows_test
