#include <cstdint>

#include "message_recorder.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

TEST(DragStart, RoundsHalvesToEvenAndHoldsTo16Bits) {
  const struct {
    float twips;
    int16_t want;
  } cases[] = {{450, 450}, {0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-2.5f, -2}, {14.6f, 15},
               {40000, 32767}, {-40000, -32768}};
  for (const auto& c : cases) EXPECT_EQ(DragStartFrom(c.twips), c.want) << c.twips;
}

class Dragging : public testing_support::ProgramWindows {
 protected:
  void SetUp() override {
    ProgramWindows::SetUp();
    LoadMainWindow();
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(Main().hWnd(), nullptr, work.left + 100, work.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT WindowRect() {
    RECT r;
    ::GetWindowRect(Main().hWnd(), &r);
    return r;
  }
  // A pointer at `screen` as the system reports it to the area: relative to where it is now.
  void Send(forms::PictureBox& area, UINT message, WPARAM keys, POINT screen) {
    ::ScreenToClient(area.hWnd(), &screen);
    ::SendMessageW(area.hWnd(), message, keys, MAKELPARAM(screen.x, screen.y));
  }
  POINT At(forms::PictureBox& area, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(area.hWnd(), &p);
    return p;
  }
  RECT work{};
};

TEST_F(Dragging, APressAt30By10AndAMoveOf10By5MoveLeftThenTop) {
  const float left = Main().Left(), top = Main().Top();
  const POINT press = At(Main().Picture3, 30, 10);
  Send(Main().Picture3, WM_LBUTTONDOWN, MK_LBUTTON, press);
  EXPECT_EQ(Main().DragStartX, 450);
  EXPECT_EQ(Main().DragStartY, 150);
  testing_support::MessageRecorder recorder({Main().hWnd()}, WM_WINDOWPOSCHANGING);
  Send(Main().Picture3, WM_MOUSEMOVE, MK_LBUTTON, POINT{press.x + 10, press.y + 5});
  EXPECT_EQ(Main().Left() - left, 150);
  EXPECT_EQ(Main().Top() - top, 75);
  ASSERT_EQ(recorder.records.size(), 2u);
  EXPECT_EQ(recorder.records[0].pos.x, work.left + 110);
  EXPECT_EQ(recorder.records[0].pos.y, work.top + 200) << "horizontal first";
  EXPECT_EQ(recorder.records[1].pos.x, work.left + 110);
  EXPECT_EQ(recorder.records[1].pos.y, work.top + 205);
}

TEST_F(Dragging, OnlyTheLeftButtonAloneMovesTheWindow) {
  const struct {
    UINT press;
    WPARAM moveKeys;
  } cases[] = {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON}, {WM_LBUTTONDOWN, MK_LBUTTON | MK_MBUTTON}};
  for (const auto& c : cases) {
    Main().DragStartX = 7;
    const RECT before = WindowRect();
    const POINT press = At(Main().Picture5, 40, 12);
    Send(Main().Picture5, c.press, c.moveKeys, press);
    Send(Main().Picture5, WM_MOUSEMOVE, c.moveKeys, POINT{press.x + 30, press.y + 30});
    const RECT after = WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after)) << "keys " << c.moveKeys;
    EXPECT_EQ(Main().DragStartX, c.press == WM_RBUTTONDOWN ? 7 : 600) << "only a left press starts a drag";
    Send(Main().Picture5, c.press + 1, 0, press);
  }
}

TEST_F(Dragging, ASnapToTheLeftEdgeIsNotCarriedIntoTheNextStep) {
  const POINT press = At(Main().Picture5, 50, 10);
  Send(Main().Picture5, WM_LBUTTONDOWN, MK_LBUTTON, press);
  Send(Main().Picture5, WM_MOUSEMOVE, MK_LBUTTON, POINT{press.x - 88, press.y});  // 12 from the edge
  EXPECT_EQ(WindowRect().left, work.left);
  Send(Main().Picture5, WM_MOUSEMOVE, MK_LBUTTON, POINT{press.x - 48, press.y + 20});
  EXPECT_EQ(WindowRect().left, work.left + 52) << "the grabbed point is back under the pointer";
  EXPECT_EQ(WindowRect().top, work.top + 220);
  POINT grabbed = At(Main().Picture5, 50, 10);
  EXPECT_EQ(grabbed.x, press.x - 48);
}

}  // namespace
}  // namespace sonbrel
