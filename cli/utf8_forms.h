#pragma once

// Code page 932 straight to UTF-8: for each byte and each pair of bytes, the
// UTF-8 bytes of the character other programs know it as (cp932's
// exchangeForm), so converting to UTF-8 is one table read per character.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vesk::cli {

// Up to three UTF-8 bytes, the first lowest, and their count in the top byte;
// 0 for a pair of bytes that forms no character.
using PackedUtf8 = std::uint32_t;

inline constexpr unsigned kPackedLengthShift = 24;

// Stores every byte of packed UTF-8 (a PackedUtf8, or a wider word of the
// same order), the first lowest; the caller then moves past those it holds.
template <typename Packed>
void storePacked(char* out, Packed packed) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &packed, sizeof packed);
  } else {
    for (unsigned i = 0; i < sizeof packed; ++i) out[i] = static_cast<char>(packed >> (8 * i));
  }
}

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
