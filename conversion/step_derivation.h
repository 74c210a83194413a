#pragma once

// Builds the dense step tables of a conversion from its rules at compile
// time. The rules say how one unit of one or two bytes converts, in terms of
// the code tables; the tables here only lay those answers out by byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "conversion/code_table.h"
#include "conversion/step_bytes.h"
#include "conversion/unit_step.h"

namespace vesk::detail {

// A unit that converts to head followed by tail (at most four bytes).
constexpr UnitStep writeStep(std::string_view head, std::string_view tail, std::size_t advance) {
  UnitStep step;
  unsigned shift = 0;
  for (std::string_view part : {head, tail}) {
    for (char byte : part) {
      step.bytes |= std::uint32_t{static_cast<unsigned char>(byte)} << shift;
      shift += 8;
    }
  }
  step.length = static_cast<std::uint8_t>(head.size() + tail.size());
  step.advance = static_cast<std::uint8_t>(advance);
  return step;
}

// A unit that is copied through unchanged.
constexpr UnitStep copyStep(std::size_t size) {
  UnitStep step;
  step.keep = size == 1 ? 0xFF : 0xFFFF;
  step.length = static_cast<std::uint8_t>(size);
  step.advance = static_cast<std::uint8_t>(size);
  return step;
}

// Whether some entry of a two-byte table has this lead byte.
constexpr bool leadsAnEntry(const CodeTable& table, unsigned char byte) {
  for (int n = 1; n <= table.size(); ++n) {
    if (static_cast<unsigned char>(entryAt(table, n)[0]) == byte) return true;
  }
  return false;
}

constexpr std::string_view oneByte(const std::array<char, 2>& bytes) { return {bytes.data(), 1}; }
constexpr std::string_view twoBytes(const std::array<char, 2>& bytes) { return {bytes.data(), 2}; }

// Rules is a type with
//   static constexpr unsigned kSingleByteLimit: bytes below it are units of one byte;
//   static constexpr bool hasOwnRow(unsigned char first): false when every unit
//     starting with this byte is copied through as two bytes;
//   static constexpr UnitStep step(std::string_view unit): one unit of one or
//     two bytes (one byte when it starts at the end of the input).
template <class Rules>
class DerivedSteps {
  static constexpr std::size_t countRows() {
    std::size_t rows = 2;
    for (unsigned byte = Rules::kSingleByteLimit; byte < 256; ++byte) {
      if (Rules::hasOwnRow(static_cast<unsigned char>(byte))) ++rows;
    }
    return rows;
  }

 public:
  constexpr DerivedSteps() {
    rows_[kSingleRow].fill(copyStep(1));
    rows_[kCopiedPairRow].fill(copyStep(2));
    std::uint8_t nextRow = kCopiedPairRow + 1;
    for (unsigned first = 0; first < 256; ++first) {
      std::array<char, 2> unit{static_cast<char>(first), 0};
      last_[first] = Rules::step(oneByte(unit));
      if (first < Rules::kSingleByteLimit) {
        rowOf_[first] = kSingleRow;
      } else if (!Rules::hasOwnRow(static_cast<unsigned char>(first))) {
        rowOf_[first] = kCopiedPairRow;
      } else {
        rowOf_[first] = nextRow;
        for (unsigned second = 0; second < 256; ++second) {
          unit[1] = static_cast<char>(second);
          rows_[nextRow][second] = Rules::step(twoBytes(unit));
        }
        ++nextRow;
      }
    }
    deriveTwoByteUnits();
    deriveGrowth();
    stepBytes_ = StepByteTables(steps());
  }

  constexpr ConversionSteps steps() const {
    return {Rules::kSingleByteLimit,
            maxGrowth_,
            rowOf_,
            rows_,
            last_,
            {markLeads_.data(), markLeadCount_},
            {marks_.data(), markCount_},
            stepBytes_.view()};
  }

 private:
  // Sorts the first bytes from the limit up into those whose unit always
  // takes two bytes and those whose unit takes two bytes only before a mark.
  // A table that fits neither shape stops the compilation here (a throw is
  // no constant expression).
  constexpr void deriveTwoByteUnits() {
    for (unsigned first = Rules::kSingleByteLimit; first < 256; ++first) {
      const StepRow& row = rows_[rowOf_[first]];
      std::array<std::uint8_t, 256> taking{};
      std::size_t count = 0;
      for (unsigned second = 0; second < 256; ++second) {
        if (row[second].advance == 2) taking[count++] = static_cast<std::uint8_t>(second);
      }
      if (count == 256) continue;
      if (count == 0 || count > kMaxMarks) throw "a first byte that fits no block rule";
      if (markCount_ == 0) {
        for (std::size_t i = 0; i < count; ++i) marks_[i] = taking[i];
        markCount_ = count;
      }
      if (count != markCount_) throw "first bytes with different marks";
      for (std::size_t i = 0; i < count; ++i) {
        if (taking[i] != marks_[i]) throw "first bytes with different marks";
      }
      addMarkLead(static_cast<std::uint8_t>(first));
    }
  }

  // The scanners size their output by it, and lay a unit's output into two
  // bytes per byte taken. The last unit of an input may write two bytes
  // whatever the growth: the scanners' slack holds them.
  constexpr void deriveGrowth() {
    for (const StepRow& row : rows_) {
      for (const UnitStep& step : row) {
        if (step.length > 2 * step.advance) throw "a unit that writes more than twice its bytes";
        if (step.length > step.advance) maxGrowth_ = 2;
      }
    }
    for (const UnitStep& step : last_) {
      if (step.length > 2) throw "a last unit that writes more than two bytes";
    }
  }

  constexpr void addMarkLead(std::uint8_t byte) {
    if (markLeadCount_ > 0 && markLeads_[markLeadCount_ - 1].last + 1 == byte) {
      markLeads_[markLeadCount_ - 1].last = byte;
      return;
    }
    if (markLeadCount_ == kMaxMarkLeadRanges) throw "too many ranges of mark leads";
    markLeads_[markLeadCount_++] = {byte, byte};
  }

  std::array<std::uint8_t, 256> rowOf_{};
  std::array<StepRow, countRows()> rows_{};
  std::array<UnitStep, 256> last_{};
  std::array<ByteRange, kMaxMarkLeadRanges> markLeads_{};
  std::size_t markLeadCount_ = 0;
  std::array<std::uint8_t, kMaxMarks> marks_{};
  std::size_t markCount_ = 0;
  unsigned maxGrowth_ = 1;
  StepByteTables stepBytes_;  // laid out last, from the rest
};

}  // namespace vesk::detail
