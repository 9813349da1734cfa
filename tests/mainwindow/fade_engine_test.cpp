#include "program/fade_engine.h"

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

TEST(FadeEngine, StepsThroughEveryAlphaThenEndsOneTickLater) {
  const struct {
    int16_t alpha, step;
    int firstApplied, lastApplied;
    FadeTick end;
  } cases[] = {
      {5, 5, 10, 250, {Kind::BecomeOpaque, 255}},  // the rise from the splash's start
      {255, -5, 250, 5, {Kind::FadedOut, 0}},      // the fall from opaque
      {100, -5, 95, 5, {Kind::FadedOut, 0}},       // a fall from where a rise was cut short
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.alpha << " by " << c.step);
    std::vector<FadeTick> expected;
    for (int a = c.firstApplied; c.step > 0 ? a <= c.lastApplied : a >= c.lastApplied; a += c.step)
      expected.push_back({Kind::ApplyAlpha, static_cast<int16_t>(a)});
    expected.push_back(c.end);
    EXPECT_EQ(RunToEnd(c.alpha, c.step), expected);
  }
  // An odd start overshoots below zero and still ends.
  EXPECT_EQ(RunToEnd(7, -5).back(), (FadeTick{Kind::FadedOut, -3}));
}

}  // namespace
}  // namespace sonbrel
