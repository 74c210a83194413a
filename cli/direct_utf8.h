#pragma once

// The --utf-8 path in one table read per character. Its three stages (UTF-8
// -> code page 932, the conversion, code page 932 -> UTF-8) compose character
// by character for most text: a character whose code is a whole unit of the
// conversion, whatever comes before or after it, and whose converted bytes
// read as whole characters, always comes out as the same UTF-8. The table
// holds that UTF-8 for each such character, worked out at first use from the
// stages' own pieces (the code page 932 tables, the conversion's rules, the
// UTF-8 forms). Where a character is anything else (a byte that takes the
// next character's byte with it, a character without a code, bytes that are
// not UTF-8, a byte order mark), the stages themselves take over until they
// have nothing held back again.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/utf8_forms.h"
#include "conversion/convert.h"

namespace vesk::cli {

class DirectForms {
 public:
  explicit DirectForms(Direction direction);

  // Converts the characters at the start of text for as long as they go
  // direct, appends their UTF-8 to out and returns how many bytes of text
  // they were. Stops before a character that does not go direct, and leaves
  // the last few bytes of text, whose meaning its end may leave open.
  std::size_t convert(std::string_view text, std::string& out) const;

  // Where the stages may stop holding anything back after taking text from
  // pos: the end of the first character from pos whose last code page 932
  // byte is a unit of its own (a unit always ends there), or the end of text.
  std::size_t resynchronisedAt(std::string_view text, std::size_t pos) const;

 private:
  static constexpr std::size_t kMaxMarks = 2;

  void addCharacter(Direction direction, char16_t unit);
  void addLetter(Direction direction, char16_t unit, unsigned char letter);
  // Converts from pos to end or the first character that does not go direct
  // (then returns false), reading up to kReadAhead bytes past end; advances
  // pos and out.
  bool convertPiece(const unsigned char* in, std::size_t& pos, std::size_t end, char*& out) const;
  // Where a conversion has reached in the text and in the output; out is
  // null where it could not go on.
  struct Reached {
    std::size_t at = 0;
    char* out = nullptr;
  };
  // Units that straddle characters, from a character of one byte that takes
  // the next byte with it to where a unit ends with a character: when every
  // one of them passes unchanged, so does each character. Converts such
  // straddles from pos, one after another, up to size, writing at out;
  // reaches nothing when the first does not pass.
  Reached convertStraddle(const unsigned char* in, std::size_t pos, std::size_t size,
                          char* out) const;

  // What code page 932 -> UTF-8 writes for each code.
  const Utf8Forms& utf8_;
  // By UTF-16 unit: the character's UTF-8, its length and flags, laid out
  // as direct_utf8.cpp says.
  std::vector<std::uint64_t> forms_;
  // A letter followed by a mark, by the letter's byte and the mark.
  std::array<std::array<std::uint64_t, kMaxMarks>, 256> marked_{};
  std::array<unsigned char, kMaxMarks> marks_{};
  std::size_t markCount_ = 0;
  // Every byte below 0x7F goes direct as itself, so words of them are copied.
  bool below7FIsItself_ = false;
  const unsigned singleByteLimit_;
  // By the two bytes of a unit: whether it passes unchanged.
  std::bitset<0x10000> pairsCopied_;
};

// Built at first use, one for each direction.
const DirectForms& directForms(Direction direction);

}  // namespace vesk::cli
