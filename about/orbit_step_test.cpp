#include "about/orbit_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

namespace vesk {
namespace {

constexpr int kWidth = 257;
constexpr int kHeight = 156;
constexpr long double kPi = std::numbers::pi_v<long double>;

// The state after `count` steps from the angle 0 that preparation leaves.
OrbitStep stepsFromStart(int count) {
  OrbitStep step{.angle = 0.0F, .frame = 0, .x = 0, .y = 0, .behind = false};
  for (int i = 0; i < count; ++i) step = nextOrbitStep(step.angle, kWidth, kHeight);
  return step;
}

struct StepCase {
  const char* name;
  int steps;
  int frame;
  int x;
  int y;
  bool behind;
};

void PrintTo(const StepCase& c, std::ostream* out) { *out << c.name; }

class OrbitStepFromStart : public testing::TestWithParam<StepCase> {};

TEST_P(OrbitStepFromStart, FrameAndPositionAndOrder) {
  const StepCase& c = GetParam();
  const OrbitStep step = stepsFromStart(c.steps);
  EXPECT_EQ(step.frame, c.frame);
  EXPECT_EQ(step.x, c.x);
  EXPECT_EQ(step.y, c.y);
  EXPECT_EQ(step.behind, c.behind);
}

INSTANTIATE_TEST_SUITE_P(
    DesignSize, OrbitStepFromStart,
    testing::Values(StepCase{"first_step_rightmost_in_front", 1, 6, 184, 56, false},
                    StepCase{"quarter_turn_nearest_viewer", 15, 4, 104, 69, false},
                    // Just below pi in single precision: the sine is still positive.
                    StepCase{"half_turn_leftmost_still_in_front", 30, 2, 24, 54, false},
                    StepCase{"three_quarters_farthest_behind", 45, 0, 104, 39, true},
                    // Just below 2 pi: a tiny negative sine puts it behind.
                    StepCase{"last_step_before_wrap_behind", 60, 6, 184, 54, true},
                    StepCase{"wrap_step_in_front_again", 61, 6, 184, 56, false},
                    // n = 1 and n = 7 cover the frames that are odd on both sides.
                    StepCase{"eighth_turn", 8, 5, 158, 65, false},
                    StepCase{"seven_eighths_turn", 53, 7, 163, 44, true}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(OrbitStep, FramesFollowOneAnotherDownwardsThroughARevolution) {
  // 6, 5, 4, 3, 2, 1, 0, 7 and 6 again, each shown within pi/8 of n pi/4.
  const int expected[] = {6, 5, 4, 3, 2, 1, 0, 7, 6};
  OrbitStep step = stepsFromStart(0);
  int seen = 0;
  int last = -1;
  for (int i = 0; i < 60; ++i) {
    step = nextOrbitStep(step.angle, kWidth, kHeight);
    if (step.frame != last) {
      ASSERT_LT(seen, 9) << "more frame changes than a revolution has";
      EXPECT_EQ(step.frame, expected[seen]) << "change " << seen << " at step " << i + 1;
      ++seen;
      last = step.frame;
    }
  }
  EXPECT_EQ(seen, 9);
}

TEST(OrbitStep, PositionIsCentredOnThePictureSize) {
  // The ellipse centre follows W div 2 and H div 2: odd and even sizes alike.
  struct Size {
    int width, height, x, y;
  };
  for (const Size s : {Size{257, 156, 104, 69}, Size{256, 157, 104, 69}, Size{100, 50, 26, 16}}) {
    const OrbitStep step = [&] {
      OrbitStep st = nextOrbitStep(0.0F, s.width, s.height);
      for (int i = 1; i < 15; ++i) st = nextOrbitStep(st.angle, s.width, s.height);
      return st;
    }();
    EXPECT_EQ(step.x, s.x) << s.width << "x" << s.height;
    EXPECT_EQ(step.y, s.y) << s.width << "x" << s.height;
  }
}

struct WrapCase {
  const char* name;
  float angle;
  long double expected;  // what the next angle comes to, within float rounding
};

void PrintTo(const WrapCase& c, std::ostream* out) { *out << c.name; }

class OrbitWrap : public testing::TestWithParam<WrapCase> {};

TEST_P(OrbitWrap, SubtractsOneFullTurnOnlyPastTwoPi) {
  const WrapCase& c = GetParam();
  const long double next = nextOrbitStep(c.angle, kWidth, kHeight).angle;
  EXPECT_NEAR(static_cast<double>(next), static_cast<double>(c.expected), 1e-6);
  EXPECT_GT(next, 0.0L);
  EXPECT_LE(next, 2 * kPi);
}

// The largest float below 2 pi; the float nearest 2 pi lies above it.
const float kBelowTwoPi = std::nextafter(static_cast<float>(2 * kPi), 0.0F);

INSTANTIATE_TEST_SUITE_P(
    Boundaries, OrbitWrap,
    testing::Values(WrapCase{"from_zero", 0.0F, kPi / 30},
                    WrapCase{"through_pi_without_wrap", static_cast<float>(kPi - kPi / 60),
                             kPi + kPi / 60},
                    WrapCase{"ending_short_of_two_pi",
                             static_cast<float>(2 * kPi - kPi / 30 - 1e-3L), 2 * kPi - 1e-3L},
                    WrapCase{"from_just_below_two_pi", kBelowTwoPi,
                             static_cast<long double>(kBelowTwoPi) + kPi / 30 - 2 * kPi},
                    WrapCase{"from_two_pi_rounded_up", static_cast<float>(2 * kPi), kPi / 30}),
    [](const testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

TEST(OrbitStep, ALongRunKeepsTheAngleInRangeAndRarelyTakesSixtyOneSteps) {
  // Wrap points drift in single precision; a revolution therefore takes 60
  // steps, except very rarely 61. Counted between consecutive wraps.
  constexpr long long kRevolutions = 300'000;
  float angle = 0.0F;
  long long revolutions = 0;
  long long sixtyOne = 0;
  long long other = 0;
  int stepsInRevolution = 0;
  bool firstWrapSeen = false;
  while (revolutions < kRevolutions) {
    const float previous = angle;
    angle = advanceOrbitAngle(angle);
    ASSERT_GT(angle, 0.0F);
    ASSERT_LE(static_cast<long double>(angle), 2 * kPi);
    ++stepsInRevolution;
    if (angle < previous) {
      if (firstWrapSeen) {
        ++revolutions;
        if (stepsInRevolution == 61) {
          ++sixtyOne;
        } else if (stepsInRevolution != 60) {
          ++other;
        }
      }
      firstWrapSeen = true;
      stepsInRevolution = 0;
    }
  }
  EXPECT_EQ(other, 0);
  EXPECT_GE(sixtyOne, 1);
  // About one in 22,000; far more would mean the wrap drifts too fast.
  EXPECT_LT(sixtyOne * 5000, kRevolutions) << sixtyOne << " revolutions of 61 steps";
}

}  // namespace
}  // namespace vesk
