#pragma once

// Lays out the steps that convert byte by byte (see StepBytes), from a
// conversion's rows, at compile time.

#include <array>
#include <cstddef>
#include <cstdint>

#include "conversion/unit_step.h"

namespace vesk::detail {

inline constexpr std::size_t kBytesPerPermute = 128;
// Room for eight permutes; the build stops when a conversion needs more.
inline constexpr std::size_t kMaxStepBytes = 8 * kBytesPerPermute;

class StepByteTables {
 public:
  constexpr StepByteTables() = default;

  // steps: a conversion's rows, mark leads and marks; its step bytes are not read.
  constexpr explicit StepByteTables(const ConversionSteps& steps) {
    for (unsigned first = 0; first < 0x80; ++first) {
      if (steps.rowOf[first] > kCopiedPairRow) throw "a first byte below 0x80 that converts";
    }
    for (unsigned first = 0x80; first < 256; ++first) {
      const std::uint8_t row = steps.rowOf[first];
      if (row <= kCopiedPairRow) continue;
      const std::size_t at = first - 0x80;
      if (isMarkLead(steps, first)) {
        windowSize_[at] = 1;  // any size but 0: a mark lead's step is found by the mark
        place(at, 1 + steps.marks.size());
        addMarkLeadRow(steps, steps.rows[row]);
      } else {
        addWindow(steps.rows[row], at);
      }
    }
  }

  constexpr StepBytes view() const {
    StepBytes bytes{windowStart_, windowSize_, permute_, entry_, {}};
    for (std::size_t i = 0; i < 4; ++i) bytes.written[i] = {written_[i].data(), roundUp(used_[i])};
    return bytes;
  }

 private:
  static constexpr std::size_t roundUp(std::size_t count) {
    return (count + kBytesPerPermute - 1) / kBytesPerPermute * kBytesPerPermute;
  }

  static constexpr bool isMarkLead(const ConversionSteps& steps, unsigned byte) {
    for (const ByteRange& range : steps.markLeads) {
      if (byte >= range.first && byte <= range.last) return true;
    }
    return false;
  }

  static constexpr bool isMark(const ConversionSteps& steps, unsigned byte) {
    for (std::uint8_t mark : steps.marks) {
      if (byte == mark) return true;
    }
    return false;
  }

  // Puts a first byte's count steps next, in one permute's bytes.
  constexpr void place(std::size_t at, std::size_t count) {
    if (count_ % kBytesPerPermute + count > kBytesPerPermute) count_ = roundUp(count_);
    if (count_ + count > kMaxStepBytes) throw "more converting steps than the block path holds";
    permute_[at] = static_cast<std::uint8_t>(count_ / kBytesPerPermute);
    entry_[at] = static_cast<std::uint8_t>(count_ % kBytesPerPermute);
  }

  // The step before a byte that is no mark, which must not depend on that
  // byte, then the step before each mark.
  constexpr void addMarkLeadRow(const ConversionSteps& steps, const StepRow& row) {
    unsigned noMark = 0;
    while (isMark(steps, noMark)) ++noMark;
    for (unsigned second = 0; second < 256; ++second) {
      if (!isMark(steps, second) && row[second] != row[noMark]) {
        throw "a mark lead whose step depends on more than the mark";
      }
    }
    add(row[noMark]);
    for (std::uint8_t mark : steps.marks) add(row[mark]);
  }

  // The steps from the first second byte that converts to the last.
  constexpr void addWindow(const StepRow& row, std::size_t at) {
    unsigned start = 0;
    while (start < 255 && row[start].keep != 0) ++start;
    unsigned end = 255;
    while (end > start && row[end].keep != 0) --end;
    if (end - start >= kBytesPerPermute) throw "a window wider than a permute";
    windowStart_[at] = static_cast<std::uint8_t>(start);
    windowSize_[at] = static_cast<std::uint8_t>(end - start + 1);
    place(at, end - start + 1);
    for (unsigned second = start; second <= end; ++second) add(row[second]);
  }

  constexpr void add(const UnitStep& step) {
    for (std::size_t i = 0; i < 4; ++i) {
      const auto byte = static_cast<std::uint8_t>(step.bytes >> (8 * i));
      if (step.keep == 0 && i < step.length && byte == 0) {
        throw "a converting step that writes a zero byte";
      }
      written_[i][count_] = byte;
      if (byte != 0) used_[i] = count_ + 1;
    }
    ++count_;
  }

  std::array<std::uint8_t, 128> windowStart_{};
  std::array<std::uint8_t, 128> windowSize_{};
  std::array<std::uint8_t, 128> permute_{};
  std::array<std::uint8_t, 128> entry_{};
  std::array<std::array<std::uint8_t, kMaxStepBytes>, 4> written_{};
  std::array<std::size_t, 4> used_{};
  std::size_t count_ = 0;
};

}  // namespace vesk::detail
