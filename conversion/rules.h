#pragma once

// The rules of both conversions, written to be read: how one code unit of
// local text becomes standard text (ConvertHtoZ) and back (ConvertZtoH), in
// terms of the code tables, and the loop that walks a text unit by unit,
// with the rule for a unit cut short by the end of the input.
//
// This is what the conversions do; the kernels (kernels/) only do it faster.
// Every kernel is tested against this file, their lookup tables are derived
// from its step functions when the program is compiled, and it converts the
// last bytes of every input, which the kernels leave to it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "conversion/code_table.h"
#include "conversion/code_tables.h"
#include "conversion/convert.h"

namespace vesk::rules {

// The code tables, with the lookup rule's answers worked out in advance.
namespace indexed {
inline constexpr IndexedTable HankakuKana{tables::HankakuKana};
inline constexpr IndexedTable ZenkakuKana{tables::ZenkakuKana};
inline constexpr IndexedTable ZenkakuDakuon{tables::ZenkakuDakuon};
inline constexpr IndexedTable ZenkakuHandakuon{tables::ZenkakuHandakuon};
inline constexpr IndexedTable LocalCodes{tables::LocalCodes};
inline constexpr IndexedTable StandardCodes{tables::StandardCodes};
}  // namespace indexed

// The wide marks as codes.
constexpr Code codeOf(std::string_view bytes) {
  return {static_cast<unsigned char>(bytes.size()), static_cast<unsigned char>(bytes[0]),
          static_cast<unsigned char>(bytes.size() > 1 ? bytes[1] : '\0')};
}
inline constexpr Code kWideVoicedMark = codeOf(tables::kWideVoicedMark);
inline constexpr Code kWideSemiVoicedMark = codeOf(tables::kWideSemiVoicedMark);
inline constexpr Code kVoicedMark = codeOf({&tables::kVoicedMark, 1});
inline constexpr Code kSemiVoicedMark = codeOf({&tables::kSemiVoicedMark, 1});

// The input at the cursor: its byte, and the byte after it unless the input
// ends with this one.
struct Cursor {
  unsigned char byte = 0;
  unsigned char next = 0;
  bool hasNext = false;

  // The code unit that starts here: two bytes, or the last byte of the input.
  constexpr Code unit() const { return hasNext ? Code{2, byte, next} : Code{1, byte, 0}; }
  constexpr bool nextIs(Code mark) const { return hasNext && next == mark.first; }
};

// One step of a conversion: the bytes it writes and the input bytes it takes.
struct Step {
  std::uint32_t bytes = 0;  // up to four, the first in the lowest 8 bits
  std::uint8_t length = 0;  // bytes written
  std::uint8_t taken = 0;   // 1 or 2
  bool copied = false;      // the unit is written unchanged

  friend constexpr bool operator==(const Step&, const Step&) = default;
};

// The unit (of taken bytes) becomes head followed by tail.
constexpr Step write(Code head, Code tail, unsigned taken) {
  const std::uint32_t headBytes = head.first | std::uint32_t{head.second} << 8;
  const std::uint32_t tailBytes = tail.first | std::uint32_t{tail.second} << 8;
  return {headBytes | tailBytes << (8 * head.size),
          static_cast<std::uint8_t>(head.size + tail.size), static_cast<std::uint8_t>(taken),
          false};
}
constexpr Step write(Code code, unsigned taken) { return write(code, {}, taken); }

// The unit passes through unchanged.
constexpr Step copy(Code unit) {
  Step step = write(unit, unit.size);
  step.copied = true;
  return step;
}

// ConvertHtoZ: the step at the cursor.
constexpr Step localToStandard(Cursor at) {
  using namespace indexed;
  // 1. ASCII.
  if (at.byte < 0x80) return copy({1, at.byte, 0});
  // 2. Half-width katakana, with the voiced or semi-voiced mark right after
  // it folded in: into the letter's marked form where the table has one,
  // else written after the letter as the full-width mark.
  if (const int n = HankakuKana.find({1, at.byte, 0}); n != kNoEntry) {
    const Code plain = ZenkakuKana.entry(n);
    if (at.nextIs(kVoicedMark)) {
      const Code voiced = ZenkakuDakuon.entry(n);
      return voiced != plain ? write(voiced, 2) : write(plain, kWideVoicedMark, 2);
    }
    if (at.nextIs(kSemiVoicedMark)) {
      const Code semiVoiced = ZenkakuHandakuon.entry(n);
      return semiVoiced != plain ? write(semiVoiced, 2) : write(plain, kWideSemiVoicedMark, 2);
    }
    return write(plain, 1);
  }
  // 3. A two-byte unit, whatever its second byte: a local code becomes its
  // standard code, anything else is copied. At the end of the input the unit
  // is the one byte left, looked up as a one-byte key.
  const Code unit = at.unit();
  if (const int n = LocalCodes.find(unit); n != kNoEntry) {
    return write(StandardCodes.entry(n), unit.size);
  }
  return copy(unit);
}

// A voiced or semi-voiced letter: its code is an entry of the marked table
// and stands nowhere in the plain one. Returns the entry, or kNoEntry.
constexpr int markedLetter(const IndexedTable& markedForms, Code unit) {
  const int n = markedForms.find(unit);
  return n != kNoEntry && !indexed::ZenkakuKana.occurs(unit) ? n : kNoEntry;
}

// ConvertZtoH: the step at the cursor.
constexpr Step standardToLocal(Cursor at) {
  using namespace indexed;
  // 1. Single bytes: up to 0x7E, one below the other direction's limit.
  if (at.byte <= 0x7E) return copy({1, at.byte, 0});
  // 2. Every other byte starts a two-byte unit (one byte at the end).
  const Code unit = at.unit();
  if (const int n = markedLetter(ZenkakuHandakuon, unit); n != kNoEntry) {
    return write(HankakuKana.entry(n), kSemiVoicedMark, unit.size);
  }
  if (const int n = markedLetter(ZenkakuDakuon, unit); n != kNoEntry) {
    return write(HankakuKana.entry(n), kVoicedMark, unit.size);
  }
  // The plain letters come before the local codes: 、(8141) is in both
  // tables and becomes the half-width ､.
  if (const int n = ZenkakuKana.find(unit); n != kNoEntry) {
    return write(HankakuKana.entry(n), unit.size);
  }
  if (const int n = StandardCodes.find(unit); n != kNoEntry) {
    return write(LocalCodes.entry(n), unit.size);
  }
  return copy(unit);
}

// Bytes below this form a unit of their own, whatever follows them.
constexpr unsigned singleByteLimit(Direction direction) {
  return direction == Direction::ToStandard ? 0x80 : 0x7F;
}

constexpr Step stepAt(Direction direction, Cursor at) {
  return direction == Direction::ToStandard ? localToStandard(at) : standardToLocal(at);
}

// Converts the units that start at in and before stop, one step at a time,
// and writes their bytes to out; advances both. A unit that starts at the
// last byte (end - 1) is converted as a unit of one byte when inputEnds;
// otherwise, unless that byte is a unit of its own, it waits for the byte
// after it and in stays before it.
void convert(Direction direction, const unsigned char*& in, const unsigned char* stop,
             const unsigned char* end, bool inputEnds, unsigned char*& out);

}  // namespace vesk::rules
