#pragma once

// The AVX-512 kernel's form of a conversion: the steps that convert, laid out
// for lookups by register permutes, 128 bytes a permute. Derived from the
// rules when the program is compiled; the build stops where the tables stop
// fitting this form.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "conversion/kernels/unit_shape.h"

namespace vesk::detail {

// A first byte's steps start at its entry in one permute's bytes. A first
// byte whose unit takes two bytes only before a mark has one step for no
// mark, then one for each mark in order; any other has one for each second
// byte of its window, windowStart up to windowSize bytes after it, and copies
// its units outside it. A step that converts writes no zero byte, and a step
// that copies writes none: its bytes are zero.
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

inline constexpr std::size_t kBytesPerPermute = 128;
// Room for eight permutes; the build stops when a conversion needs more.
inline constexpr std::size_t kMaxPermutes = 8;
inline constexpr std::size_t kMaxStepBytes = kMaxPermutes * kBytesPerPermute;

class StepByteTables {
 public:
  constexpr StepByteTables() = default;

  constexpr explicit StepByteTables(Direction direction) : shape_(deriveShape(direction)) {
    if (shape_.singleByteLimit < 0x7F) throw "first bytes below 0x7F that may convert";
    // Mark leads first, so that their steps of more than two bytes (a letter
    // and a wide mark) share the fewest permutes. Then the windows, widest
    // first, each in the first permute with room: fewer permutes than in
    // byte order.
    std::array<Window, 128> windows{};
    std::size_t windowCount = 0;
    std::array<Row, 128> rows{};  // by first byte - 0x80
    for (unsigned first = 0x80; first < 256; ++first) {
      const std::size_t at = first - 0x80;
      rows[at] = rowOf(direction, first);
      const bool converts = std::any_of(rows[at].begin(), rows[at].end(),
                                        [](const rules::Step& step) { return !step.copied; });
      if (!converts) continue;
      if (shape_.isMarkLead(first)) {
        markLead_[at] = 1;
        addMarkLeadRow(rows[at], place(at, 1 + shape_.markCount));
      } else {
        windows[windowCount++] = windowOf(rows[at], at);
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

  constexpr const UnitShape& shape() const { return shape_; }

  constexpr StepBytes view() const {
    StepBytes bytes{markLead_, windowStart_, windowSize_, permute_, entry_, {}};
    for (std::size_t i = 0; i < 4; ++i) bytes.written[i] = {written_[i].data(), roundUp(used_[i])};
    return bytes;
  }

 private:
  using Row = std::array<rules::Step, 256>;

  // The second bytes of a first byte's row from the first that converts to
  // the last.
  struct Window {
    const Row* row = nullptr;
    std::size_t at = 0;  // first byte - 0x80
    std::uint8_t start = 0;
    std::size_t size = 0;
  };

  static constexpr Row rowOf(Direction direction, unsigned first) {
    Row row;
    for (unsigned second = 0; second < 256; ++second) {
      row[second] = stepOf(direction, first, static_cast<int>(second));
    }
    return row;
  }

  static constexpr std::size_t roundUp(std::size_t count) {
    return (count + kBytesPerPermute - 1) / kBytesPerPermute * kBytesPerPermute;
  }

  // Finds room for a first byte's count steps in one permute's bytes;
  // returns where they go.
  constexpr std::size_t place(std::size_t at, std::size_t count) {
    std::size_t permute = 0;
    while (permute < kMaxPermutes && filled_[permute] + count > kBytesPerPermute) ++permute;
    if (permute == kMaxPermutes) throw "more converting steps than the permutes hold";
    permute_[at] = static_cast<std::uint8_t>(permute);
    entry_[at] = static_cast<std::uint8_t>(filled_[permute]);
    filled_[permute] += count;
    return permute * kBytesPerPermute + entry_[at];
  }

  // The step before a byte that is no mark, which must not depend on that
  // byte, then the step before each mark.
  constexpr void addMarkLeadRow(const Row& row, std::size_t to) {
    unsigned noMark = 0;
    while (shape_.isMark(noMark)) ++noMark;
    for (unsigned second = 0; second < 256; ++second) {
      if (!shape_.isMark(second) && row[second] != row[noMark]) {
        throw "a mark lead whose step depends on more than the mark";
      }
    }
    add(row[noMark], to);
    for (std::uint8_t mark : shape_.marks()) add(row[mark], ++to);
  }

  static constexpr Window windowOf(const Row& row, std::size_t at) {
    unsigned start = 0;
    while (start < 255 && row[start].copied) ++start;
    unsigned end = 255;
    while (end > start && row[end].copied) --end;
    if (end - start >= kBytesPerPermute) throw "a window wider than a permute";
    return {&row, at, static_cast<std::uint8_t>(start), end - start + 1};
  }

  constexpr void add(const rules::Step& step, std::size_t to) {
    for (std::size_t i = 0; i < 4; ++i) {
      const auto byte =
          step.copied ? std::uint8_t{0} : static_cast<std::uint8_t>(step.bytes >> (8 * i));
      if (!step.copied && i < step.length && byte == 0) {
        throw "a converting step that writes a zero byte";
      }
      written_[i][to] = byte;
      if (byte != 0) used_[i] = std::max(used_[i], to + 1);
    }
  }

  UnitShape shape_;
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
