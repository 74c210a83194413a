#pragma once

// Reproducible random byte strings for differential and streaming tests:
// pieces of valid text (table entries in both code sets, kanji, ASCII words,
// CR LF) mixed with the bytes where the conversions' rules meet.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vesk::testing {

// Bytes at the edges of the rules: controls, the thresholds 7E/7F/80, leads
// of the tables, half-width codes in and out of the kana table, the marks,
// the local lead bytes and the bytes above the last lead.
const std::vector<char>& interestingBytes();

class RandomText {
 public:
  explicit RandomText(std::uint32_t seed);

  // Between 1 and maxPieces pieces, each a piece of text or one interesting byte.
  std::string next(std::size_t maxPieces);

  // A number from 0 to max, for the caller's own choices (chunk sizes).
  std::size_t upTo(std::size_t max);

 private:
  std::mt19937 engine_;
  std::vector<std::string> pieces_;
};

}  // namespace vesk::testing
