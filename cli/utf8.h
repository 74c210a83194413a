#pragma once

// UTF-8 in pieces: a decoder that takes its input in chunks, cut anywhere.

#include <string>
#include <string_view>

namespace vesk::cli {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-8 form of a code point (a surrogate is written as U+FFFD).
void appendUtf8(char32_t codePoint, std::string& out);

// Invalid input gives U+FFFD for each maximal part of an ill-formed sequence
// (the W3C/Unicode practice), so one stray byte costs one character.
class Utf8Decoder {
 public:
  // Appends the code points completed by this chunk; an unfinished sequence
  // at its end waits for the next chunk.
  void feed(std::string_view chunk, std::u32string& out);

  // Ends the input: an unfinished sequence becomes U+FFFD.
  void finish(std::u32string& out);

 private:
  void start(unsigned char byte, std::u32string& out);

  char32_t codePoint_ = 0;
  int missing_ = 0;           // continuation bytes still to come
  unsigned char low_ = 0x80;  // range of the next continuation byte
  unsigned char high_ = 0xBF;
};

}  // namespace vesk::cli
