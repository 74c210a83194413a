#pragma once

// How a direction's input splits into code units, in the form every kernel
// tests whole blocks against: derived from the rules when the program is
// compiled. A table that fits no such form stops the compilation (a throw is
// no constant expression).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "conversion/convert.h"
#include "conversion/rules.h"

namespace vesk::detail {

// Consecutive byte values, both ends included.
struct ByteRange {
  std::uint8_t first;
  std::uint8_t last;
};

// A byte below singleByteLimit is a unit of its own; any other byte takes the
// byte after it, except a mark lead, which takes it only when it is a mark.
struct UnitShape {
  static constexpr std::size_t kMaxMarkLeadRanges = 4;
  static constexpr std::size_t kMaxMarks = 2;

  unsigned singleByteLimit = 0;
  // No unit writes more than this many bytes for each byte it takes, 1 or 2,
  // but the last unit of an input, which may write two.
  unsigned maxGrowth = 1;
  std::array<ByteRange, kMaxMarkLeadRanges> markLeadRanges{};
  std::size_t markLeadRangeCount = 0;
  std::array<std::uint8_t, kMaxMarks> markBytes{};
  std::size_t markCount = 0;

  constexpr std::span<const ByteRange> markLeads() const {
    return {markLeadRanges.data(), markLeadRangeCount};
  }
  constexpr std::span<const std::uint8_t> marks() const { return {markBytes.data(), markCount}; }

  constexpr bool isMarkLead(unsigned byte) const {
    for (const ByteRange& range : markLeads()) {
      if (byte >= range.first && byte <= range.last) return true;
    }
    return false;
  }
  constexpr bool isMark(unsigned byte) const {
    for (std::uint8_t mark : marks()) {
      if (byte == mark) return true;
    }
    return false;
  }
};

// The step for the unit first, second (second < 0: first ends the input).
constexpr rules::Step stepOf(Direction direction, unsigned first, int second) {
  return rules::stepAt(direction, {static_cast<unsigned char>(first),
                                   static_cast<unsigned char>(second), second >= 0});
}

constexpr UnitShape deriveShape(Direction direction) {
  UnitShape shape;
  shape.singleByteLimit = rules::singleByteLimit(direction);
  for (unsigned first = 0; first < 256; ++first) {
    if (stepOf(direction, first, -1).length > 2) throw "a last unit that writes more than two";
    if (first < shape.singleByteLimit) continue;
    std::array<std::uint8_t, 256> taking{};
    std::size_t count = 0;
    for (unsigned second = 0; second < 256; ++second) {
      const rules::Step step = stepOf(direction, first, static_cast<int>(second));
      if (step.length > 2 * step.taken) throw "a unit that writes more than twice its bytes";
      if (step.length > step.taken) shape.maxGrowth = 2;
      if (step.taken == 2) taking[count++] = static_cast<std::uint8_t>(second);
    }
    if (count == 256) continue;
    // Takes the next byte only before some bytes: those are its marks.
    if (count == 0 || count > UnitShape::kMaxMarks) throw "a first byte that fits no block rule";
    if (shape.markCount == 0) {
      for (std::size_t i = 0; i < count; ++i) shape.markBytes[i] = taking[i];
      shape.markCount = count;
    }
    if (count != shape.markCount) throw "first bytes with different marks";
    for (std::size_t i = 0; i < count; ++i) {
      if (taking[i] != shape.markBytes[i]) throw "first bytes with different marks";
    }
    const auto byte = static_cast<std::uint8_t>(first);
    if (shape.markLeadRangeCount > 0 &&
        shape.markLeadRanges[shape.markLeadRangeCount - 1].last + 1 == byte) {
      shape.markLeadRanges[shape.markLeadRangeCount - 1].last = byte;
    } else {
      if (shape.markLeadRangeCount == UnitShape::kMaxMarkLeadRanges) {
        throw "too many ranges of mark leads";
      }
      shape.markLeadRanges[shape.markLeadRangeCount++] = {byte, byte};
    }
  }
  return shape;
}

// The shape of each direction, derived once (in unit_shape.cpp).
const UnitShape& shapeOf(Direction direction);

}  // namespace vesk::detail
