#pragma once

// Code page 932 straight to UTF-8: for each byte and each pair of bytes, the
// UTF-8 bytes of the character other programs know it as (cp932's
// exchangeForm), so converting to UTF-8 is one table read per character.

#include <array>
#include <cstdint>
#include <vector>

namespace vesk::cli {

// Up to three UTF-8 bytes, the first lowest, and their count in the top byte;
// 0 for a pair of bytes that forms no character.
using PackedUtf8 = std::uint32_t;

inline constexpr unsigned kPackedLengthShift = 24;

struct Utf8Forms {
  // What each byte reads as on its own.
  std::array<PackedUtf8, 256> single{};
  // What a lead byte and the byte after it read as, by lead << 8 | trail:
  // one read, no arithmetic, in a loop that runs for every character.
  std::vector<PackedUtf8> pairs;
};

// Built at first use.
const Utf8Forms& utf8Forms();

}  // namespace vesk::cli
