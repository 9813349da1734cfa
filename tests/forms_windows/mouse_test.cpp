#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "test_form.h"

namespace forms_windows_test {
namespace {

using MouseEvents = LoadedForm;

struct MouseCase {
  UINT message;
  WPARAM keys;
  int x, y;
  const char* expected;
};

TEST_F(MouseEvents, CarryButtonShiftAndTwipsFromTheControl) {
  const MouseCase cases[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, 2, 3, "Box.MouseDown 1 0 30 45"},
      {WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, 0, 19, "Box.MouseDown 2 1 0 285"},
      {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, 19, 0, "Box.MouseDown 4 2 285 0"},
      {WM_MBUTTONUP, MK_CONTROL | MK_SHIFT, 7, 7, "Box.MouseUp 4 3 105 105"},
      {WM_RBUTTONUP, 0, 1, 1, "Box.MouseUp 2 0 15 15"},
      {WM_MOUSEMOVE, 0, 4, 5, "Box.MouseMove 0 0 60 75"},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, 4, 5, "Box.MouseMove 5 0 60 75"},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT, 4, 5,
       "Box.MouseMove 7 1 60 75"},
  };
  for (const MouseCase& c : cases) {
    form.events.clear();
    Send(form.Box.hWnd(), c.message, c.keys, c.x, c.y);
    ::ReleaseCapture();
    EXPECT_EQ(form.events, Events{c.expected}) << "message " << std::hex << c.message;
  }
}

TEST_F(MouseEvents, AltComesFromTheKeyboardState) {
  BYTE keys[256];
  ASSERT_TRUE(::GetKeyboardState(keys));
  BYTE withAlt[256];
  std::copy(std::begin(keys), std::end(keys), withAlt);
  withAlt[VK_MENU] = 0x80;
  ::SetKeyboardState(withAlt);
  Send(form.Box.hWnd(), WM_MOUSEMOVE, MK_CONTROL, 1, 2);
  ::SetKeyboardState(keys);
  EXPECT_EQ(form.events, Events{"Box.MouseMove 0 6 15 30"});
}

TEST_F(MouseEvents, LeftClickIsDownUpThenClick) {
  Send(form.Box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
  Send(form.Box.hWnd(), WM_LBUTTONUP, 0, 5, 6);
  EXPECT_EQ(form.events,
            (Events{"Box.MouseDown 1 0 75 90", "Box.MouseUp 1 0 75 90", "Box.Click"}));
}

TEST_F(MouseEvents, DoubleClickEndsInMouseUpWithoutASecondClick) {
  Send(form.Box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 5, 6);
  Send(form.Box.hWnd(), WM_LBUTTONUP, 0, 5, 6);
  Send(form.Box.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 6);
  Send(form.Box.hWnd(), WM_LBUTTONUP, 0, 5, 6);
  EXPECT_EQ(form.events, (Events{"Box.MouseDown 1 0 75 90", "Box.MouseUp 1 0 75 90", "Box.Click",
                                 "Box.DblClick", "Box.MouseUp 1 0 75 90"}));
}

TEST_F(MouseEvents, RightAndMiddleButtonsNeverClick) {
  const struct {
    UINT down, up;
    WPARAM held;
    const char* expectedDown;
    const char* expectedUp;
  } cases[] = {
      {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, "Box.MouseDown 2 0 45 45", "Box.MouseUp 2 0 45 45"},
      {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, "Box.MouseDown 4 0 45 45", "Box.MouseUp 4 0 45 45"},
  };
  for (const auto& c : cases) {
    form.events.clear();
    Send(form.Box.hWnd(), c.down, c.held, 3, 3);
    EXPECT_EQ(::GetCapture(), form.Box.hWnd());
    Send(form.Box.hWnd(), c.up, 0, 3, 3);
    EXPECT_EQ(form.events, (Events{c.expectedDown, c.expectedUp}));
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(MouseEvents, PressedBoxKeepsTheMouseBeyondItsEdge) {
  Send(form.Box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  EXPECT_EQ(::GetCapture(), form.Box.hWnd());
  Send(form.Box.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, -3, 30);
  Send(form.Box.hWnd(), WM_LBUTTONUP, 0, -3, 30);
  EXPECT_EQ(form.events, (Events{"Box.MouseDown 1 0 75 75", "Box.MouseMove 1 0 -45 450",
                                 "Box.MouseUp 1 0 -45 450"}));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(MouseEvents, CaptureStaysUntilTheLastButtonComesUp) {
  Send(form.Box.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  Send(form.Box.hWnd(), WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 5, 5);
  Send(form.Box.hWnd(), WM_RBUTTONUP, MK_LBUTTON, 5, 5);
  EXPECT_EQ(::GetCapture(), form.Box.hWnd());
  Send(form.Box.hWnd(), WM_LBUTTONUP, 0, 5, 5);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(form.events.back(), "Box.Click");
}

using WindowlessControls = LoadedForm;

TEST_F(WindowlessControls, FrontmostVisibleControlTakesTheClick) {
  const struct {
    bool frontVisible;
    Events expected;
  } cases[] = {
      {true, {"Front.MouseDown 1 0 225 75", "Front.MouseUp 1 0 225 75", "Front.Click"}},
      {false, {"Back.MouseDown 1 0 75 75", "Back.MouseUp 1 0 75 75", "Back.Click"}},
  };
  for (const auto& c : cases) {
    form.events.clear();
    form.Front.Visible(c.frontVisible);
    Send(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 55, 15);
    Send(form.hWnd(), WM_LBUTTONUP, 0, 55, 15);
    EXPECT_EQ(form.events, c.expected) << "front visible " << c.frontVisible;
  }
}

TEST_F(WindowlessControls, BareSurfaceMovesReachTheFormForAnyX) {
  Send(form.hWnd(), WM_MOUSEMOVE, 0, 150, 80);
  // The notification icon's callback: a mouse message number as x, far outside the client area.
  Send(form.hWnd(), WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK, 0);
  Send(form.hWnd(), WM_MOUSEMOVE, MK_RBUTTON, -7, 0);
  EXPECT_EQ(form.events, (Events{"Form.MouseMove 0 0 2250 1200", "Form.MouseMove 0 0 7725 0",
                                 "Form.MouseMove 2 0 -105 0"}));
}

TEST_F(WindowlessControls, ALineLetsTheMouseThroughToTheLabelUnderIt) {
  Send(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 20, 50);
  Send(form.hWnd(), WM_LBUTTONUP, 0, 20, 50);
  EXPECT_EQ(form.events,
            (Events{"Link.MouseDown 1 0 150 150", "Link.MouseUp 1 0 150 150", "Link.Click"}));
}

TEST_F(WindowlessControls, PressedControlKeepsTheMouseThroughTheFormsCapture) {
  Send(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 45, 15);
  EXPECT_EQ(::GetCapture(), form.hWnd());
  Send(form.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, 35, 15);
  Send(form.hWnd(), WM_LBUTTONUP, 0, 35, 15);
  EXPECT_EQ(::GetCapture(), nullptr);
  Send(form.hWnd(), WM_MOUSEMOVE, 0, 35, 15);
  EXPECT_EQ(form.events, (Events{"Front.MouseDown 1 0 75 75", "Front.MouseMove 1 0 -75 75",
                                 "Front.MouseUp 1 0 -75 75", "Form.MouseMove 0 0 525 225"}));
}

TEST_F(WindowlessControls, DoubleClickOnAnImage) {
  Send(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 45, 15);
  Send(form.hWnd(), WM_LBUTTONUP, 0, 45, 15);
  Send(form.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, 45, 15);
  Send(form.hWnd(), WM_LBUTTONUP, 0, 45, 15);
  EXPECT_EQ(form.events, (Events{"Front.MouseDown 1 0 75 75", "Front.MouseUp 1 0 75 75",
                                 "Front.Click", "Front.DblClick", "Front.MouseUp 1 0 75 75"}));
}

}  // namespace
}  // namespace forms_windows_test
