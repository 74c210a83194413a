#pragma once

// The portable kernel's form of a conversion: for every first byte of a
// code unit and every byte after it, what to write and how far to move, so
// that a step is two table reads. Derived from the rules when the program is
// compiled.

#include <array>
#include <cstdint>
#include <span>

#include "conversion/convert.h"

namespace vesk::detail {

struct UnitStep {
  std::uint32_t bytes = 0;   // bytes to write, the first in the lowest 8 bits
  std::uint16_t keep = 0;    // input bytes copied through: 0xFF the first, 0xFFFF both
  std::uint8_t length = 0;   // bytes written
  std::uint8_t advance = 0;  // input bytes taken

  friend constexpr bool operator==(const UnitStep&, const UnitStep&) = default;
};

// The steps for one first byte, by the byte that follows it.
using StepRow = std::array<UnitStep, 256>;

struct DenseSteps {
  // The row of each first byte. Row 0 copies single bytes and row 1 copies
  // pairs, which is every row of most first bytes; the rest convert something.
  std::span<const std::uint8_t, 256> rowOf;
  std::span<const StepRow> rows;

  const UnitStep& at(unsigned first, unsigned second) const { return rows[rowOf[first]][second]; }
};

const DenseSteps& denseStepsFor(Direction direction);

}  // namespace vesk::detail
