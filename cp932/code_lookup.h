#pragma once

// The codec's table lookups, inline for the loops that convert text in bulk
// (the codec itself, the command line's UTF-8 stages).

#include <cstdint>

#include "cp932/cp932_tables.h"

namespace vesk::cp932 {

// The code of a unit: below 0x100 one byte, else lead << 8 | trail; 0 for a
// unit without one (U+0000 itself is 0 too: the caller tells them apart).
inline std::uint16_t codeOf(char16_t unit) {
  const std::size_t block = tables::kEncodeBlockIndex[unit >> tables::kEncodeBlockBits];
  const std::size_t entry = unit & ((1u << tables::kEncodeBlockBits) - 1);
  return tables::kEncodeBlocks[(block << tables::kEncodeBlockBits) | entry];
}

// Writes a code of one byte (below 0x100) or two; returns the end.
inline char* writeCode(std::uint16_t code, char* out) {
  if (code < 0x100) {
    *out = static_cast<char>(code);
    return out + 1;
  }
  out[0] = static_cast<char>(code >> 8);
  out[1] = static_cast<char>(code & 0xFF);
  return out + 2;
}

// The character a lead byte and the byte after it read as, or 0 when they
// form none (the lead then reads alone).
inline char16_t pairAt(unsigned char lead, unsigned char trail) {
  const unsigned row = tables::kLeadRow[lead];
  const unsigned column = static_cast<unsigned>(trail) - tables::kTrailFirst;
  if (row == 0 || column >= tables::kTrailCount) return 0;
  return tables::kDoubleByte[(row - 1) * tables::kTrailCount + column];
}

// Whether the byte may begin a two-byte character, so that what it reads as
// depends on the byte after it.
inline bool isLeadByte(unsigned char byte) { return tables::kLeadRow[byte] != 0; }

// What a byte reads as on its own.
inline char16_t singleAt(unsigned char byte) { return tables::kSingleByte[byte]; }

inline char16_t exchangeFormOf(char16_t unit) {
  const unsigned number = static_cast<unsigned>(unit - tables::kDuplicateBase);
  return number < tables::kDuplicateCount ? tables::kDuplicateCharacter[number] : unit;
}

}  // namespace vesk::cp932
