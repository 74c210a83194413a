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

// Writes the UTF-8 form of a code point that is not a surrogate; returns the end.
char* writeUtf8(char32_t codePoint, char* out);

}  // namespace vesk::cli
