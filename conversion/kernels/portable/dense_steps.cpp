#include "conversion/kernels/portable/dense_steps.h"

#include <cstddef>

#include "conversion/kernels/unit_shape.h"

namespace vesk::detail {
namespace {

constexpr UnitStep unitStepOf(const rules::Step& step) {
  if (step.copied)
    return {0, static_cast<std::uint16_t>(step.taken == 1 ? 0xFF : 0xFFFF), step.length,
            step.taken};
  return {step.bytes, 0, step.length, step.taken};
}

constexpr UnitStep kCopiesOne = unitStepOf(rules::copy({1, 0, 0}));
constexpr UnitStep kCopiesTwo = unitStepOf(rules::copy({2, 0, 0}));

template <Direction direction>
constexpr StepRow rowOf(unsigned first) {
  StepRow row;
  for (unsigned second = 0; second < 256; ++second) {
    row[second] = unitStepOf(stepOf(direction, first, static_cast<int>(second)));
  }
  return row;
}

template <Direction direction>
constexpr bool hasOwnRow(unsigned first) {
  if (first < rules::singleByteLimit(direction)) return false;
  for (unsigned second = 0; second < 256; ++second) {
    if (unitStepOf(stepOf(direction, first, static_cast<int>(second))) != kCopiesTwo) return true;
  }
  return false;
}

template <Direction direction>
constexpr std::size_t countRows() {
  std::size_t rows = 2;
  for (unsigned first = 0; first < 256; ++first) rows += hasOwnRow<direction>(first);
  return rows;
}

template <Direction direction>
class DerivedSteps {
 public:
  constexpr DerivedSteps() {
    rows_[0].fill(kCopiesOne);
    rows_[1].fill(kCopiesTwo);
    std::uint8_t next = 2;
    for (unsigned first = 0; first < 256; ++first) {
      if (first < rules::singleByteLimit(direction)) continue;
      rowOf_[first] = 1;
      if (next == rows_.size()) continue;
      const StepRow row = rowOf<direction>(first);
      for (const UnitStep& step : row) {
        if (step == kCopiesTwo) continue;
        rows_[next] = row;
        rowOf_[first] = next++;
        break;
      }
    }
  }

  constexpr DenseSteps steps() const { return {rowOf_, rows_}; }

 private:
  std::array<std::uint8_t, 256> rowOf_{};
  std::array<StepRow, countRows<direction>()> rows_{};
};

constexpr DerivedSteps<Direction::ToStandard> kLocalToStandard;
constexpr DerivedSteps<Direction::ToLocal> kStandardToLocal;
constinit const DenseSteps kLocalToStandardSteps = kLocalToStandard.steps();
constinit const DenseSteps kStandardToLocalSteps = kStandardToLocal.steps();

}  // namespace

const DenseSteps& denseStepsFor(Direction direction) {
  return direction == Direction::ToStandard ? kLocalToStandardSteps : kStandardToLocalSteps;
}

}  // namespace vesk::detail
