#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "test_form.h"

namespace forms_windows_test {
namespace {

using MouseEvents = LoadedForm;

// Child windows get their own messages; the form's surface hit-tests its windowless controls.
TEST_F(MouseEvents, ReachTheRightHandlerWithButtonShiftAndTwips) {
  enum Target { kBox, kSurface, kSurfaceFrontHidden };
  const struct {
    const char* name;
    Target target;
    std::vector<Step> steps;
    Events expected;
  } cases[] = {
      {"click, then double click", kBox,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 6}, {WM_LBUTTONUP, 0, 5, 6},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 6}, {WM_LBUTTONUP, 0, 5, 6}},
       {"Box.MouseDown 1 0 75 90", "Box.MouseUp 1 0 75 90", "Box.Click", "Box.DblClick",
        "Box.MouseUp 1 0 75 90"}},
      {"right and middle never click", kBox,
       {{WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, 0, 19}, {WM_RBUTTONUP, MK_SHIFT, 0, 19},
        {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, 19, 0}, {WM_MBUTTONUP, MK_CONTROL, 19, 0}},
       {"Box.MouseDown 2 1 0 285", "Box.MouseUp 2 1 0 285", "Box.MouseDown 4 2 285 0", "Box.MouseUp 4 2 285 0"}},
      {"moves carry every held button", kBox,
       {{WM_MOUSEMOVE, 0, 4, 5}, {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, 4, 5},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT, 4, 5}},
       {"Box.MouseMove 0 0 60 75", "Box.MouseMove 5 0 60 75", "Box.MouseMove 7 1 60 75"}},
      {"a pressed box keeps the mouse beyond its edge", kBox,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 5}, {WM_MOUSEMOVE, MK_LBUTTON, -3, 30},
        {WM_LBUTTONUP, 0, -3, 30}},
       {"Box.MouseDown 1 0 75 75", "Box.MouseMove 1 0 -45 450", "Box.MouseUp 1 0 -45 450"}},
      {"the front image over the back one, double clicked", kSurface,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 55, 15}, {WM_LBUTTONUP, 0, 55, 15},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, 55, 15}, {WM_LBUTTONUP, 0, 55, 15}},
       {"Front.MouseDown 1 0 225 75", "Front.MouseUp 1 0 225 75", "Front.Click", "Front.DblClick",
        "Front.MouseUp 1 0 225 75"}},
      {"a hidden image is skipped", kSurfaceFrontHidden,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 55, 15}, {WM_LBUTTONUP, 0, 55, 15}},
       {"Back.MouseDown 1 0 75 75", "Back.MouseUp 1 0 75 75", "Back.Click"}},
      {"a line lets the mouse through", kSurface,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 20, 50}, {WM_LBUTTONUP, 0, 20, 50}},
       {"Link.MouseDown 1 0 150 150", "Link.MouseUp 1 0 150 150", "Link.Click"}},
      {"a pressed image keeps the mouse, then the bare surface has it", kSurface,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 45, 15}, {WM_MOUSEMOVE, MK_LBUTTON, 35, 15},
        {WM_LBUTTONUP, 0, 35, 15}, {WM_MOUSEMOVE, 0, 35, 15}},
       {"Front.MouseDown 1 0 75 75", "Front.MouseMove 1 0 -75 75", "Front.MouseUp 1 0 -75 75",
        "Form.MouseMove 0 0 525 225"}},
      {"a box that lost the mouse does not click", kBox,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 5, 6}, {kLoseCapture, 0, 0, 0}, {WM_LBUTTONUP, 0, 5, 6}},
       {"Box.MouseDown 1 0 75 90", "Box.MouseUp 1 0 75 90"}},
      {"an image that lost the mouse neither keeps it nor clicks", kSurface,
       {{WM_LBUTTONDOWN, MK_LBUTTON, 45, 15}, {kLoseCapture, 0, 0, 0},
        {WM_MOUSEMOVE, MK_LBUTTON, 20, 50}, {WM_LBUTTONUP, 0, 45, 15}},
       {"Front.MouseDown 1 0 75 75", "Link.MouseMove 1 0 150 150", "Front.MouseUp 1 0 75 75"}},
      // The middle move is the notification icon's: a message number as x, far outside.
      {"bare surface moves for any x", kSurface,
       {{WM_MOUSEMOVE, 0, 150, 80}, {WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK, 0},
        {WM_MOUSEMOVE, MK_RBUTTON, -7, 0}},
       {"Form.MouseMove 0 0 2250 1200", "Form.MouseMove 0 0 7725 0", "Form.MouseMove 2 0 -105 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form.Front.Visible(c.target != kSurfaceFrontHidden);
    EXPECT_EQ(Play(c.target == kBox ? form.Box.hWnd() : form.hWnd(), c.steps), c.expected);
  }
}

// Windowless controls lean on the form's capture.
TEST_F(MouseEvents, CaptureStaysUntilTheLastButtonComesUp) {
  for (HWND window : {form.Box.hWnd(), form.hWnd()}) {
    Send(window, {WM_LBUTTONDOWN, MK_LBUTTON, 45, 15});
    EXPECT_EQ(::GetCapture(), window);
    Send(window, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 45, 15});
    Send(window, {WM_RBUTTONUP, MK_LBUTTON, 45, 15});
    EXPECT_EQ(::GetCapture(), window);
    Send(window, {WM_LBUTTONUP, 0, 45, 15});
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(MouseEvents, AltComesFromTheKeyboardState) {
  BYTE keys[256], withAlt[256];
  ASSERT_TRUE(::GetKeyboardState(keys));
  std::copy(std::begin(keys), std::end(keys), withAlt);
  withAlt[VK_MENU] = 0x80;
  ::SetKeyboardState(withAlt);
  const Events seen = Play(form.Box.hWnd(), {{WM_MOUSEMOVE, MK_CONTROL, 1, 2}});
  ::SetKeyboardState(keys);
  EXPECT_EQ(seen, Events{"Box.MouseMove 0 6 15 30"});
}

}  // namespace
}  // namespace forms_windows_test
