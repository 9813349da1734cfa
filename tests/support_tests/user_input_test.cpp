#include "support/user_input.h"

#include <gtest/gtest.h>

namespace {

// The first, a middle and the last pixel of each axis: a wrong normalisation misses one end.
TEST(UserInput, ThePointerLandsOnTheExactPixel) {
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const POINT targets[] = {{0, 0}, {width - 1, height - 1}, {width / 2 + 1, height / 3}, {263, 135}};
  for (const POINT& target : targets) {
    support::MovePointerTo(target);
    POINT at{};
    ::GetCursorPos(&at);
    EXPECT_EQ(at.x, target.x);
    EXPECT_EQ(at.y, target.y);
  }
}

}  // namespace
