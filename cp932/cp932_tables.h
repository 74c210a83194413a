#pragma once

// The code page 932 tables, generated from ICU by tools/generate_cp932_table.py.

#include <cstdint>

namespace vesk::cp932::tables {

inline constexpr unsigned kTrailFirst = 0x40;
inline constexpr unsigned kTrailCount = 0xFD - kTrailFirst;
inline constexpr unsigned kEncodeBlockBits = 6;

// What each byte reads as on its own: a character, or U+F700 + byte for a byte
// that begins no character of its own (a lead byte, 0x80, 0xA0, 0xFD-0xFF).
extern const char16_t kSingleByte[256];

// For a lead byte, its row in kDoubleByte counted from 1; 0 for other bytes.
extern const std::uint8_t kLeadRow[256];

// Rows of kTrailCount entries, trail bytes 0x40-0xFC; 0 where the pair is no
// character.
extern const char16_t kDoubleByte[];

// UTF-16 unit -> code: the unit's high bits choose a block, its low
// kEncodeBlockBits bits the entry. A code below 0x100 is one byte, others are
// lead << 8 | trail; 0 means none (U+0000 itself is told apart by the caller).
extern const std::uint16_t kEncodeBlockIndex[0x10000 >> kEncodeBlockBits];
extern const std::uint16_t kEncodeBlocks[];

}  // namespace vesk::cp932::tables
