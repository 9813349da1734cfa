#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "mainwindow/Module1.h"

namespace sonbrel::Module1 {
namespace {

constexpr RECT kScreen{0, 0, 1024, 738};

struct Move {
  const char* what;
  RECT workArea;
  int x, y, cx, cy;
  int wantX, wantY;
};

void PrintTo(const Move& m, std::ostream* os) { *os << m.what; }

class SnapMoves : public testing::TestWithParam<Move> {};

TEST_P(SnapMoves, LandOnTheEdgesWithinNineteenPixels) {
  const Move& m = GetParam();
  WINDOWPOS pos{nullptr, nullptr, m.x, m.y, m.cx, m.cy, SWP_NOZORDER};
  SnapToWorkArea(pos, m.workArea, RECT{400, 300, 400 + m.cx, 300 + m.cy});
  EXPECT_EQ(pos.x, m.wantX) << m.what;
  EXPECT_EQ(pos.y, m.wantY) << m.what;
  EXPECT_EQ(pos.cx, m.cx) << m.what;
  EXPECT_EQ(pos.cy, m.cy) << m.what;
}

INSTANTIATE_TEST_SUITE_P(
    WorkAreas, SnapMoves,
    testing::Values(Move{"19 from the left", kScreen, 19, 300, 308, 161, 0, 300},
                    Move{"20 from the left", kScreen, 20, 300, 308, 161, 20, 300},
                    Move{"19 beyond the left", kScreen, -19, 300, 308, 161, 0, 300},
                    Move{"20 beyond the left", kScreen, -20, 300, 308, 161, -20, 300},
                    Move{"16 short of the right", kScreen, 700, 300, 308, 161, 716, 300},
                    Move{"20 beyond the right", kScreen, 736, 300, 308, 161, 736, 300},
                    Move{"7 short of the bottom", kScreen, 300, 570, 308, 161, 300, 577},
                    Move{"near the top left corner", kScreen, 10, 10, 308, 161, 0, 0},
                    Move{"taskbar at the left", RECT{60, 0, 1024, 768}, 50, 300, 308, 161, 60, 300},
                    Move{"taskbar at the top", RECT{0, 30, 1024, 768}, 300, 45, 308, 161, 300, 30},
                    Move{"right beats left", kScreen, 5, 300, 1010, 161, 14, 300},
                    Move{"bottom beats top", kScreen, 300, 5, 308, 725, 300, 13},
                    Move{"far from every edge", kScreen, 300, 300, 308, 161, 300, 300}),
    [](const testing::TestParamInfo<Move>& info) {
      std::string name = info.param.what;
      for (char& c : name) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(SnapToWorkArea, APureMoveUsesTheWindowsCurrentSize) {
  // The system leaves cx and cy empty when the size does not change.
  WINDOWPOS pos{nullptr, nullptr, 700, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER};
  SnapToWorkArea(pos, kScreen, RECT{100, 100, 408, 261});
  EXPECT_EQ(pos.x, 716);
  EXPECT_EQ(pos.y, 300);
  EXPECT_EQ(pos.cx, 0);
  EXPECT_EQ(pos.cy, 0);
}

TEST(SnapToWorkArea, APureResizeNearTheBottomMovesTheWindowOntoIt) {
  WINDOWPOS pos{nullptr, nullptr, 0, 0, 308, 161, SWP_NOMOVE | SWP_NOZORDER};
  SnapToWorkArea(pos, kScreen, RECT{100, 570, 336, 595});
  EXPECT_EQ(pos.x, 100);
  EXPECT_EQ(pos.y, 577);
  EXPECT_FALSE(pos.flags & SWP_NOMOVE);
}

TEST(SnapToWorkArea, APureResizeAwayFromTheEdgesLeavesTheRecordAlone) {
  WINDOWPOS pos{nullptr, nullptr, 0, 0, 308, 161, SWP_NOMOVE | SWP_NOZORDER};
  SnapToWorkArea(pos, kScreen, RECT{100, 100, 336, 125});
  EXPECT_EQ(pos.x, 0);
  EXPECT_EQ(pos.y, 0);
  EXPECT_TRUE(pos.flags & SWP_NOMOVE);
}

}  // namespace
}  // namespace sonbrel::Module1
