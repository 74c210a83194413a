#include "cli/text_position.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vesk::cli {
namespace {

// The line feeds in text, eight bytes at a time: where this runs on every
// chunk of a large file, a plain count costs more than the conversion.
std::size_t lineFeeds(std::string_view text) {
  constexpr std::uint64_t kEvery = 0x0101010101010101;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
  std::size_t count = 0;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, sizeof word);
    const std::uint64_t x = word ^ ('\n' * kEvery);  // zero bytes where the line feeds are
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    // One in each byte that was a line feed; a multiplication adds them up
    // in the top byte (the baseline instruction set has no popcount).
    count += static_cast<std::size_t>(((zero >> 7) * kEvery) >> 56);
  }
  return count + static_cast<std::size_t>(
                     std::count(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), '\n'));
}

// UTF-8 continuation bytes start no character of their own.
std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  }));
}

}  // namespace

void TextPosition::advance(std::string_view text) {
  const std::size_t lastBreak = text.rfind('\n');
  if (lastBreak == std::string_view::npos) {
    column_ += characters(text);
    return;
  }
  line_ += lineFeeds(text);
  column_ = 1 + characters(text.substr(lastBreak + 1));
}

std::string TextPosition::describe(std::string_view text, std::size_t offset) const {
  TextPosition at = *this;
  at.advance(text.substr(0, offset));
  return "line " + std::to_string(at.line_) + ", column " + std::to_string(at.column_);
}

}  // namespace vesk::cli
