#pragma once

// Where a place in a text read in pieces is, as a person finds it in an
// editor: line and column, both from 1, a column for each character.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::cli {

class TextPosition {
 public:
  // Moves past text, the next piece of the input.
  void advance(std::string_view text);

  // "line L, column C" of text[offset], where text is the piece after
  // those advanced over.
  std::string describe(std::string_view text, std::size_t offset) const;

 private:
  std::size_t line_ = 1;
  std::size_t column_ = 1;  // of the next piece's first byte
};

}  // namespace vesk::cli
