#pragma once

// The dense form of a conversion: for every first byte of a code unit and
// every byte after it, what to write and how far to move. Derived at compile
// time from the code tables, so a conversion step is a table read, never a
// search.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

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

// Room in the block form below; the derivation stops the build when a table
// needs more.
inline constexpr std::size_t kMaxMarkLeadRanges = 4;
inline constexpr std::size_t kMaxMarks = 2;

// Consecutive byte values, both ends included.
struct ByteRange {
  std::uint8_t first;
  std::uint8_t last;
};

struct ConversionSteps {
  // Bytes below this form a unit of their own whatever follows them.
  unsigned singleByteLimit;
  std::span<const std::uint8_t, 256> rowOf;  // row of each first byte
  std::span<const StepRow> rows;
  // The unit that starts at the last byte of the input, by that byte.
  std::span<const UnitStep, 256> last;
  // Which units take two bytes, in a form a block of bytes can be tested
  // against with a few comparisons: a byte at or above singleByteLimit takes
  // the byte after it, except a byte in markLeads, which takes it only when it
  // is one of marks.
  std::span<const ByteRange> markLeads;
  std::span<const std::uint8_t> marks;
};

extern const ConversionSteps kLocalToStandardSteps;
extern const ConversionSteps kStandardToLocalSteps;

}  // namespace vesk::detail
