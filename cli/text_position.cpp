#include "cli/text_position.h"

#include <algorithm>

namespace vesk::cli {
namespace {

// UTF-8 continuation bytes start no character of their own.
std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  }));
}

}  // namespace

void TextPosition::advance(std::string_view text) {
  const std::size_t lastBreak = text.rfind('\n');
  if (lastBreak == std::string_view::npos) {
    column_ += characters(text);
    return;
  }
  line_ += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  column_ = 1 + characters(text.substr(lastBreak + 1));
}

std::string TextPosition::describe(std::string_view text, std::size_t offset) const {
  TextPosition at = *this;
  at.advance(text.substr(0, offset));
  return "line " + std::to_string(at.line_) + ", column " + std::to_string(at.column_);
}

}  // namespace vesk::cli
