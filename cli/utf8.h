#pragma once

// UTF-8, one sequence at a time, strictly: the well-formed sequences of the
// Unicode Standard (table 3-7), no overlong forms, no surrogates.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::cli {

struct Utf8Sequence {
  enum class Kind { Valid, Invalid, Unfinished };
  Kind kind;
  char32_t codePoint;  // when Valid
  // Valid: the sequence's bytes. Invalid: the bytes of its maximal ill-formed
  // part, so that one stray byte costs one. Unfinished: the bytes present,
  // which a longer text may complete.
  std::size_t length;
};

// The sequence that starts at text[pos]; pos must be inside text.
Utf8Sequence readUtf8(std::string_view text, std::size_t pos);

// The UTF-16 unit of a three-byte sequence at at, where three bytes can be
// read, or 0 when they are none (no overlong form, no surrogate). Inline, for
// the loops that read text in bulk: most Japanese text is such sequences.
[[gnu::always_inline]] inline char16_t threeByteUnitAt(const unsigned char* at) {
  if ((at[0] & 0xF0) != 0xE0 || (at[1] & 0xC0) != 0x80 || (at[2] & 0xC0) != 0x80) return 0;
  const auto unit =
      static_cast<char16_t>((at[0] & 0x0Fu) << 12 | (at[1] & 0x3Fu) << 6 | (at[2] & 0x3Fu));
  return unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF) ? 0 : unit;
}

// Writes the UTF-8 form of a code point that is not a surrogate; returns the end.
char* writeUtf8(char32_t codePoint, char* out);

}  // namespace vesk::cli
