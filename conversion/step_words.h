#pragma once

// Lays out the steps that convert as 16-bit words (see StepWords), from a
// conversion's rows, at compile time.

#include <array>
#include <cstddef>
#include <cstdint>

#include "conversion/unit_step.h"

namespace vesk::detail {

inline constexpr std::size_t kWordsPerPermute = 64;
// Room for sixteen permutes; the build stops when a conversion needs more.
inline constexpr std::size_t kMaxStepWords = 16 * kWordsPerPermute;

class StepWordTables {
 public:
  constexpr StepWordTables() = default;

  // steps: a conversion's rows, mark leads and marks; its words are not read.
  constexpr explicit StepWordTables(const ConversionSteps& steps) {
    for (unsigned first = 0; first < 0x80; ++first) {
      if (steps.rowOf[first] > kCopiedPairRow) throw "a first byte below 0x80 that converts";
    }
    // Mark leads first: only they write four bytes, so the high words that
    // are not zero come first.
    for (const bool markLeads : {true, false}) {
      for (unsigned first = 0x80; first < 256; ++first) {
        const std::uint8_t row = steps.rowOf[first];
        if (row <= kCopiedPairRow || isMarkLead(steps, first) != markLeads) continue;
        const std::size_t at = first - 0x80;
        entryLow_[at] = static_cast<std::uint8_t>(count_);
        entryHigh_[at] = static_cast<std::uint8_t>(count_ >> 8);
        if (markLeads) {
          windowSize_[at] = 1;  // any size but 0: a mark lead's step is found by the mark
          addMarkLeadRow(steps, steps.rows[row]);
        } else {
          addWindow(steps.rows[row], at);
        }
      }
    }
    highCount_ = roundUp(highCount_);
  }

  constexpr StepWords view() const {
    return {windowStart_, windowSize_, entryLow_, entryHigh_, {low_.data(), roundUp(count_)},
            {high_.data(), highCount_}};
  }

 private:
  static constexpr std::size_t roundUp(std::size_t words) {
    return (words + kWordsPerPermute - 1) / kWordsPerPermute * kWordsPerPermute;
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
    if (end - start == 255) throw "a window of every second byte";
    windowStart_[at] = static_cast<std::uint8_t>(start);
    windowSize_[at] = static_cast<std::uint8_t>(end - start + 1);
    for (unsigned second = start; second <= end; ++second) add(row[second]);
  }

  constexpr void add(const UnitStep& step) {
    if (count_ == kMaxStepWords) throw "more converting steps than the block path holds";
    if (step.keep == 0) {
      for (unsigned i = 0; i < step.length; ++i) {
        if (((step.bytes >> (8 * i)) & 0xFF) == 0) throw "a converting step that writes a zero byte";
      }
    }
    low_[count_] = static_cast<std::uint16_t>(step.bytes);
    high_[count_] = static_cast<std::uint16_t>(step.bytes >> 16);
    ++count_;
    if (high_[count_ - 1] != 0) highCount_ = count_;
  }

  std::array<std::uint8_t, 128> windowStart_{};
  std::array<std::uint8_t, 128> windowSize_{};
  std::array<std::uint8_t, 128> entryLow_{};
  std::array<std::uint8_t, 128> entryHigh_{};
  std::array<std::uint16_t, kMaxStepWords> low_{};
  std::array<std::uint16_t, kMaxStepWords> high_{};
  std::size_t count_ = 0;
  std::size_t highCount_ = 0;
};

}  // namespace vesk::detail
