#include <gtest/gtest.h>

#include "mainwindow/Module1.h"

namespace sonbrel::Module1 {
namespace {

constexpr RECT kScreen{0, 0, 1024, 738};
constexpr RECT kAt400{400, 300, 708, 461};  // the window's place before the move, 308 x 161
constexpr UINT kMove = SWP_NOZORDER, kPureMove = SWP_NOSIZE | SWP_NOZORDER, kPureSize = SWP_NOMOVE | SWP_NOZORDER;

// The edges within 19 pixels pull the window onto them; beyond that it goes where it is put.
TEST(SnapToWorkArea, LandsOnTheEdgesWithinNineteenPixels) {
  const struct {
    const char* what;
    RECT workArea;
    WINDOWPOS pos;
    RECT current;
    int wantX, wantY;
  } cases[] = {
      {"19 from the left", kScreen, {nullptr, nullptr, 19, 300, 308, 161, kMove}, kAt400, 0, 300},
      {"20 from the left", kScreen, {nullptr, nullptr, 20, 300, 308, 161, kMove}, kAt400, 20, 300},
      {"19 beyond the left", kScreen, {nullptr, nullptr, -19, 300, 308, 161, kMove}, kAt400, 0, 300},
      {"20 beyond the left", kScreen, {nullptr, nullptr, -20, 300, 308, 161, kMove}, kAt400, -20, 300},
      {"16 short of the right", kScreen, {nullptr, nullptr, 700, 300, 308, 161, kMove}, kAt400, 716, 300},
      {"7 short of the bottom", kScreen, {nullptr, nullptr, 300, 570, 308, 161, kMove}, kAt400, 300, 577},
      {"near the top left corner", kScreen, {nullptr, nullptr, 10, 10, 308, 161, kMove}, kAt400, 0, 0},
      {"taskbar at the top", RECT{0, 30, 1024, 768}, {nullptr, nullptr, 300, 45, 308, 161, kMove}, kAt400, 300, 30},
      {"right beats left", kScreen, {nullptr, nullptr, 5, 300, 1010, 161, kMove}, kAt400, 14, 300},
      // The system leaves cx and cy empty when the size does not change.
      {"a pure move", kScreen, {nullptr, nullptr, 700, 300, 0, 0, kPureMove}, RECT{100, 100, 408, 261}, 716, 300},
      {"a pure resize near the bottom", kScreen, {nullptr, nullptr, 0, 0, 308, 161, kPureSize},
       RECT{100, 570, 336, 595}, 100, 577},
      {"a pure resize far from the edges", kScreen, {nullptr, nullptr, 0, 0, 308, 161, kPureSize},
       RECT{100, 100, 336, 125}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WINDOWPOS pos = c.pos;
    SnapToWorkArea(pos, c.workArea, c.current);
    EXPECT_EQ(pos.x, c.wantX);
    EXPECT_EQ(pos.y, c.wantY);
    EXPECT_EQ(pos.cx, c.pos.cx);
    EXPECT_EQ(pos.cy, c.pos.cy);
    // A resize that snaps has become a move as well; one that does not stays a pure resize.
    const bool moved = c.wantX != c.pos.x || c.wantY != c.pos.y;
    if (c.pos.flags & SWP_NOMOVE) EXPECT_EQ((pos.flags & SWP_NOMOVE) == 0, moved);
  }
}

}  // namespace
}  // namespace sonbrel::Module1
