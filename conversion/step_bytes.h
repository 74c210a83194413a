#pragma once

// Lays out the steps that convert byte by byte (see StepBytes), from a
// conversion's rows, at compile time.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "conversion/unit_step.h"

namespace vesk::detail {

inline constexpr std::size_t kBytesPerPermute = 128;
// Room for eight permutes; the build stops when a conversion needs more.
inline constexpr std::size_t kMaxPermutes = 8;
inline constexpr std::size_t kMaxStepBytes = kMaxPermutes * kBytesPerPermute;

class StepByteTables {
 public:
  constexpr StepByteTables() = default;

  // steps: a conversion's rows, mark leads and marks; its step bytes are not read.
  constexpr explicit StepByteTables(const ConversionSteps& steps) {
    for (unsigned first = 0; first < 0x80; ++first) {
      if (steps.rowOf[first] > kCopiedPairRow) throw "a first byte below 0x80 that converts";
    }
    // Mark leads first, so that their steps of more than two bytes (a letter
    // and a wide mark) share the fewest permutes. Then the windows, widest
    // first, each in the first permute with room: fewer permutes than in
    // byte order.
    std::array<Window, 128> windows{};
    std::size_t windowCount = 0;
    for (unsigned first = 0x80; first < 256; ++first) {
      const std::uint8_t row = steps.rowOf[first];
      if (row <= kCopiedPairRow) continue;
      const std::size_t at = first - 0x80;
      if (isMarkLead(steps, first)) {
        markLead_[at] = 1;
        addMarkLeadRow(steps, steps.rows[row], place(at, 1 + steps.marks.size()));
      } else {
        windows[windowCount++] = windowOf(steps.rows[row], at);
      }
    }
    std::sort(windows.begin(), windows.begin() + static_cast<std::ptrdiff_t>(windowCount),
              [](const Window& a, const Window& b) { return a.size > b.size; });
    for (std::size_t i = 0; i < windowCount; ++i) {
      const Window& window = windows[i];
      windowStart_[window.at] = window.start;
      windowSize_[window.at] = static_cast<std::uint8_t>(window.size);
      const std::size_t to = place(window.at, window.size);
      for (std::size_t n = 0; n < window.size; ++n) add((*window.row)[window.start + n], to + n);
    }
  }

  constexpr StepBytes view() const {
    StepBytes bytes{markLead_, windowStart_, windowSize_, permute_, entry_, {}};
    for (std::size_t i = 0; i < 4; ++i) bytes.written[i] = {written_[i].data(), roundUp(used_[i])};
    return bytes;
  }

 private:
  // The second bytes of a first byte's row from the first that converts to
  // the last.
  struct Window {
    const StepRow* row = nullptr;
    std::size_t at = 0;  // first byte - 0x80
    std::uint8_t start = 0;
    std::size_t size = 0;
  };

  static constexpr std::size_t roundUp(std::size_t count) {
    return (count + kBytesPerPermute - 1) / kBytesPerPermute * kBytesPerPermute;
  }

  // Finds room for a first byte's count steps in one permute's bytes;
  // returns where they go.
  constexpr std::size_t place(std::size_t at, std::size_t count) {
    std::size_t permute = 0;
    while (permute < kMaxPermutes && filled_[permute] + count > kBytesPerPermute) ++permute;
    if (permute == kMaxPermutes) throw "more converting steps than the block path holds";
    permute_[at] = static_cast<std::uint8_t>(permute);
    entry_[at] = static_cast<std::uint8_t>(filled_[permute]);
    filled_[permute] += count;
    return permute * kBytesPerPermute + entry_[at];
  }

  // The step before a byte that is no mark, which must not depend on that
  // byte, then the step before each mark.
  constexpr void addMarkLeadRow(const ConversionSteps& steps, const StepRow& row, std::size_t to) {
    unsigned noMark = 0;
    while (isMark(steps, noMark)) ++noMark;
    for (unsigned second = 0; second < 256; ++second) {
      if (!isMark(steps, second) && row[second] != row[noMark]) {
        throw "a mark lead whose step depends on more than the mark";
      }
    }
    add(row[noMark], to);
    for (std::uint8_t mark : steps.marks) add(row[mark], ++to);
  }

  static constexpr Window windowOf(const StepRow& row, std::size_t at) {
    unsigned start = 0;
    while (start < 255 && row[start].keep != 0) ++start;
    unsigned end = 255;
    while (end > start && row[end].keep != 0) --end;
    if (end - start >= kBytesPerPermute) throw "a window wider than a permute";
    return {&row, at, static_cast<std::uint8_t>(start), end - start + 1};
  }

  constexpr void add(const UnitStep& step, std::size_t to) {
    for (std::size_t i = 0; i < 4; ++i) {
      const auto byte = static_cast<std::uint8_t>(step.bytes >> (8 * i));
      if (step.keep == 0 && i < step.length && byte == 0) {
        throw "a converting step that writes a zero byte";
      }
      written_[i][to] = byte;
      if (byte != 0) used_[i] = std::max(used_[i], to + 1);
    }
  }

  std::array<std::uint8_t, 128> markLead_{};
  std::array<std::uint8_t, 128> windowStart_{};
  std::array<std::uint8_t, 128> windowSize_{};
  std::array<std::uint8_t, 128> permute_{};
  std::array<std::uint8_t, 128> entry_{};
  std::array<std::array<std::uint8_t, kMaxStepBytes>, 4> written_{};
  std::array<std::size_t, 4> used_{};
  std::array<std::size_t, kMaxPermutes> filled_{};
};

}  // namespace vesk::detail
