#include "about/orbit_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <vector>

namespace vesk {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

struct StepCase {
  const char* name;
  int steps;  // from the angle 0 that preparation leaves
  int width;
  int height;
  int frame;
  int x;
  int y;
  bool behind;
};

void PrintTo(const StepCase& c, std::ostream* out) { *out << c.name; }

class OrbitStepFromStart : public testing::TestWithParam<StepCase> {};

TEST_P(OrbitStepFromStart, FrameAndPositionAndOrder) {
  const StepCase& c = GetParam();
  OrbitStep step{.angle = 0.0F, .frame = 0, .x = 0, .y = 0, .behind = false};
  for (int i = 0; i < c.steps; ++i) step = nextOrbitStep(step.angle, c.width, c.height);
  EXPECT_EQ(step.frame, c.frame);
  EXPECT_EQ(step.x, c.x);
  EXPECT_EQ(step.y, c.y);
  EXPECT_EQ(step.behind, c.behind);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, OrbitStepFromStart,
    testing::Values(StepCase{"first_step_rightmost_in_front", 1, 257, 156, 6, 184, 56, false},
                    StepCase{"quarter_turn_nearest_viewer", 15, 257, 156, 4, 104, 69, false},
                    // Just below pi in single precision: the sine is still positive.
                    StepCase{"half_turn_leftmost_still_in_front", 30, 257, 156, 2, 24, 54, false},
                    StepCase{"three_quarters_farthest_behind", 45, 257, 156, 0, 104, 39, true},
                    // Just below 2 pi: a tiny negative sine puts it behind.
                    StepCase{"last_step_before_wrap_behind", 60, 257, 156, 6, 184, 54, true},
                    StepCase{"wrap_step_in_front_again", 61, 257, 156, 6, 184, 56, false},
                    // n = 1 and n = 7 cover the frames that are odd on both sides.
                    StepCase{"eighth_turn", 8, 257, 156, 5, 158, 65, false},
                    StepCase{"seven_eighths_turn", 53, 257, 156, 7, 163, 44, true},
                    // The ellipse's centre is W div 2, H div 2.
                    StepCase{"odd_height", 15, 256, 157, 4, 104, 69, false},
                    StepCase{"small_picture", 15, 100, 50, 4, 26, 16, false}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(OrbitStep, FramesFollowOneAnotherDownwardsThroughARevolution) {
  // 6, 5, 4, 3, 2, 1, 0, 7 and 6 again, each shown within pi/8 of n pi/4.
  std::vector<int> changes;
  float angle = 0.0F;
  for (int i = 0; i < 60; ++i) {
    const OrbitStep step = nextOrbitStep(angle, 257, 156);
    if (changes.empty() || step.frame != changes.back()) changes.push_back(step.frame);
    angle = step.angle;
  }
  EXPECT_EQ(changes, (std::vector<int>{6, 5, 4, 3, 2, 1, 0, 7, 6}));
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
  const long double next = nextOrbitStep(c.angle, 257, 156).angle;
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

}  // namespace
}  // namespace vesk
