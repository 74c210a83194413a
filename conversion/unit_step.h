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

// The first two rows of every conversion copy their units through: bytes
// below the single-byte limit, and first bytes whose units are always copied
// as two bytes. Every other row converts something.
inline constexpr std::uint8_t kSingleRow = 0;
inline constexpr std::uint8_t kCopiedPairRow = 1;

// Room in the block form below; the derivation stops the build when a table
// needs more.
inline constexpr std::size_t kMaxMarkLeadRanges = 4;
inline constexpr std::size_t kMaxMarks = 2;

// Consecutive byte values, both ends included.
struct ByteRange {
  std::uint8_t first;
  std::uint8_t last;
};

// The steps that convert, byte by byte, for lookups by register permutes:
// 128 bytes a permute. A first byte's steps start at its entry in one
// permute's bytes. A first byte whose unit takes two bytes only before a
// mark has one step for no mark, then one for each mark in order; any other
// has one for each second byte of its window, windowStart up to windowSize
// bytes after it, and copies its units outside it. A step that converts
// writes no zero byte, and a step that copies writes none: its bytes are zero.
struct StepBytes {
  // By first byte - 0x80: below 0x80 no first byte converts. A window of
  // size 0 marks a first byte that converts nothing, unless it is a mark lead.
  std::span<const std::uint8_t, 128> markLead;  // 1 for a mark lead
  std::span<const std::uint8_t, 128> windowStart;
  std::span<const std::uint8_t, 128> windowSize;
  std::span<const std::uint8_t, 128> permute;
  std::span<const std::uint8_t, 128> entry;
  // Byte i of each step, 128 a permute; as far as any is not zero.
  std::array<std::span<const std::uint8_t>, 4> written;
};

struct ConversionSteps {
  // Bytes below this form a unit of their own whatever follows them.
  unsigned singleByteLimit;
  // No unit writes more than this many bytes for each byte it takes, 1 or
  // 2, but for the last unit of an input, which may write two.
  unsigned maxGrowth;
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
  StepBytes stepBytes;
};

// Whether a byte is one of the conversion's mark leads, or one of its marks.
constexpr bool isMarkLead(const ConversionSteps& steps, unsigned byte) {
  for (const ByteRange& range : steps.markLeads) {
    if (byte >= range.first && byte <= range.last) return true;
  }
  return false;
}

constexpr bool isMark(const ConversionSteps& steps, unsigned byte) {
  for (std::uint8_t mark : steps.marks) {
    if (byte == mark) return true;
  }
  return false;
}

extern const ConversionSteps kLocalToStandardSteps;
extern const ConversionSteps kStandardToLocalSteps;

}  // namespace vesk::detail
