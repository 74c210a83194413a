#include "cli/utf8.h"

namespace vesk::cli {

void appendUtf8(char32_t codePoint, std::string& out) {
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) codePoint = kReplacementCharacter;
  const auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(value)); };
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
}

void Utf8Decoder::start(unsigned char byte, std::u32string& out) {
  low_ = 0x80;
  high_ = 0xBF;
  if (byte < 0x80) {
    out.push_back(byte);
    return;
  }
  if (byte >= 0xC2 && byte <= 0xDF) {
    missing_ = 1;
    codePoint_ = byte & 0x1Fu;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    missing_ = 2;
    codePoint_ = byte & 0x0Fu;
    if (byte == 0xE0) low_ = 0xA0;   // no overlong forms
    if (byte == 0xED) high_ = 0x9F;  // no surrogates
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    missing_ = 3;
    codePoint_ = byte & 0x07u;
    if (byte == 0xF0) low_ = 0x90;   // no overlong forms
    if (byte == 0xF4) high_ = 0x8F;  // nothing above U+10FFFF
  } else {
    out.push_back(kReplacementCharacter);
  }
}

void Utf8Decoder::feed(std::string_view chunk, std::u32string& out) {
  for (const char c : chunk) {
    const auto byte = static_cast<unsigned char>(c);
    if (missing_ == 0) {
      start(byte, out);
    } else if (byte < low_ || byte > high_) {
      // The sequence so far is one ill-formed part; the byte starts afresh.
      missing_ = 0;
      out.push_back(kReplacementCharacter);
      start(byte, out);
    } else {
      codePoint_ = codePoint_ << 6 | (byte & 0x3Fu);
      low_ = 0x80;
      high_ = 0xBF;
      if (--missing_ == 0) out.push_back(codePoint_);
    }
  }
}

void Utf8Decoder::finish(std::u32string& out) {
  if (missing_ != 0) out.push_back(kReplacementCharacter);
  missing_ = 0;
}

}  // namespace vesk::cli
