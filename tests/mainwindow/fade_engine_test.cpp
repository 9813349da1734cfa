#include "mainwindow/fade_engine.h"

#include <gtest/gtest.h>

#include <vector>

namespace sonbrel {
namespace {

using Kind = FadeTick::Kind;

class Blank : public forms::Form {
 public:
  Blank() : forms::Form(forms::FormLayout{}) {}
};

// Runs ticks until the engine stops, collecting what each tick came to.
std::vector<FadeTick> RunToEnd(int16_t alpha, int16_t step) {
  Blank form;
  forms::Timer timer{form};
  FadeEngine engine{form, timer, [] {}};
  engine.FadeAlpha = alpha;
  engine.FadeStep = step;
  std::vector<FadeTick> ticks;
  do ticks.push_back(engine.Advance());
  while (ticks.back().kind == Kind::ApplyAlpha && ticks.size() < 1000);
  return ticks;
}

std::vector<FadeTick> Applying(int from, int to, int step) {
  std::vector<FadeTick> ticks;
  for (int a = from; step > 0 ? a <= to : a >= to; a += step)
    ticks.push_back({Kind::ApplyAlpha, static_cast<int16_t>(a)});
  return ticks;
}

TEST(FadeEngine, RisesFromFiveInFortyNineStepsThenTurnsOpaqueOnTheFiftieth) {
  std::vector<FadeTick> expected = Applying(10, 250, 5);
  expected.push_back({Kind::BecomeOpaque, 255});
  EXPECT_EQ(RunToEnd(5, 5), expected);
}

TEST(FadeEngine, FallsFromOpaqueThroughFiftyAlphasAndEndsOnTheFiftyFirst) {
  std::vector<FadeTick> expected = Applying(250, 5, -5);
  expected.push_back({Kind::FadedOut, 0});
  EXPECT_EQ(expected.size(), 51u);
  EXPECT_EQ(RunToEnd(255, -5), expected);
}

TEST(FadeEngine, FallsFromWhereARiseWasInterrupted) {
  std::vector<FadeTick> expected = Applying(95, 5, -5);
  expected.push_back({Kind::FadedOut, 0});
  EXPECT_EQ(RunToEnd(100, -5), expected);
  // An odd start overshoots below zero and still ends.
  EXPECT_EQ(RunToEnd(7, -5).back(), (FadeTick{Kind::FadedOut, -3}));
}

}  // namespace
}  // namespace sonbrel
