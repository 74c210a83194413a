#include "cli/text_position.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vesk::cli {
namespace {

constexpr std::uint64_t kEvery = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;
constexpr std::size_t kWord = 8;

// Where this runs, on every piece of a large file that the conversion takes,
// a byte at a time costs more than the conversion: so eight at a time.
std::uint64_t wordAt(std::string_view text, std::size_t at) {
  std::uint64_t word;
  std::memcpy(&word, text.data() + at, sizeof word);
  return word;
}

// The high bit of each byte of the word that is a line feed.
std::uint64_t lineFeedBits(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = ~kHighBits;
  const std::uint64_t x = word ^ ('\n' * kEvery);  // zero bytes where the line feeds are
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// The high bits of a word summed by a multiplication into its top byte (the
// baseline instruction set has no popcount).
std::size_t countHighBits(std::uint64_t bits) {
  return static_cast<std::size_t>(((bits >> 7) * kEvery) >> 56);
}

std::size_t lineFeeds(std::string_view text) {
  std::size_t count = 0;
  std::size_t at = 0;
  for (; at + kWord <= text.size(); at += kWord)
    count += countHighBits(lineFeedBits(wordAt(text, at)));
  return count + static_cast<std::size_t>(
                     std::count(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), '\n'));
}

// UTF-8 continuation bytes (10xxxxxx) start no character of their own.
bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

std::size_t characters(std::string_view text) {
  std::size_t continuations = 0;
  std::size_t at = 0;
  for (; at + kWord <= text.size(); at += kWord) {
    const std::uint64_t word = wordAt(text, at);
    continuations += countHighBits(word & ~(word << 1) & kHighBits);
  }
  return at - continuations +
         static_cast<std::size_t>(std::count_if(text.begin() + static_cast<std::ptrdiff_t>(at),
                                                text.end(), startsCharacter));
}

// The last line feed in text, or npos.
std::size_t lastLineFeed(std::string_view text) {
  std::size_t end = text.size();
  for (; end >= kWord && lineFeedBits(wordAt(text, end - kWord)) == 0; end -= kWord) {
  }
  return text.substr(0, end).rfind('\n');
}

}  // namespace

void TextPosition::advance(std::string_view text) {
  const std::size_t lastBreak = lastLineFeed(text);
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
