#include "cli/utf8.h"

namespace vesk::cli {

Utf8Sequence readUtf8(std::string_view text, std::size_t pos) {
  using Kind = Utf8Sequence::Kind;
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {Kind::Valid, lead, 1};
  std::size_t length = 0;
  char32_t codePoint = 0;
  unsigned char low = 0x80;  // the range of the byte after the lead
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {Kind::Invalid, 0, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (pos + i == text.size()) return {Kind::Unfinished, 0, i};
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (byte < low || byte > high) return {Kind::Invalid, 0, i};
    codePoint = codePoint << 6 | (byte & 0x3Fu);
    low = 0x80;
    high = 0xBF;
  }
  return {Kind::Valid, codePoint, length};
}

char* writeUtf8(char32_t codePoint, char* out) {
  const auto byte = [&out](char32_t value) { *out++ = static_cast<char>(value); };
  if (codePoint < 0x80) {
    byte(codePoint);
  } else if (codePoint < 0x800) {
    byte(0xC0 | codePoint >> 6);
    byte(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    byte(0xE0 | codePoint >> 12);
    byte(0x80 | (codePoint >> 6 & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  } else {
    byte(0xF0 | codePoint >> 18);
    byte(0x80 | (codePoint >> 12 & 0x3F));
    byte(0x80 | (codePoint >> 6 & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  }
  return out;
}

}  // namespace vesk::cli
