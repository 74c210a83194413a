#include "about/orbit_step.h"

#include <cmath>
#include <numbers>

namespace vesk {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kStep = kPi / 30;
constexpr long double kFullTurn = 2 * kPi;
constexpr long double kFramesPerPi = 4;
constexpr int kFrameCount = 8;
constexpr int kHalfFrame = 24;
constexpr long double kSemiAxisX = 80;
constexpr long double kSemiAxisY = 15;

// Nearest integer, halves to the even neighbour (the default rounding mode).
int roundHalfEven(long double value) { return static_cast<int>(std::nearbyint(value)); }

// The angle one step on from `angle`: pi/30 further, wrapped once past 2 pi.
float advanceOrbitAngle(float angle) {
  float next = static_cast<float>(static_cast<long double>(angle) + kStep);
  if (static_cast<long double>(next) > kFullTurn) {
    next = static_cast<float>(static_cast<long double>(next) - kFullTurn);
  }
  return next;
}

}  // namespace

OrbitStep nextOrbitStep(float angle, int width, int height) {
  const float next = advanceOrbitAngle(angle);
  const long double wide = next;
  const int n = roundHalfEven(wide * (1 / kPi) * kFramesPerPi);
  const long double sine = std::sin(wide);
  return OrbitStep{
      .angle = next,
      .frame = (14 - n) % kFrameCount,
      .x = width / 2 - kHalfFrame + roundHalfEven(std::cos(wide) * kSemiAxisX),
      .y = height / 2 - kHalfFrame + roundHalfEven(sine * kSemiAxisY),
      .behind = sine < 0,
  };
}

}  // namespace vesk
