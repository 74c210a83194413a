#pragma once

// Code page 932 (Windows-31J) <-> Unicode, for the parts of the program that
// hold text as Unicode: the panes, the clipboard and the command line's
// --utf-8 mode.
//
// Every byte string reads as text that writes back as the same bytes: a byte
// that begins no character reads as a private-use character of its own, and
// so does each code whose character code page 932 holds twice (81E3 beside
// 8795 for the root sign). Text for other programs takes the character itself
// for such a code: see exchangeForm.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::cp932 {

// What encodeInto writes for a character code page 932 cannot hold.
inline constexpr char kUnmappable = '?';

// Bytes -> UTF-16, each code as a character of its own.
std::u16string decode(std::string_view bytes);

// UTF-16 -> bytes. A character code page 932 cannot hold writes as '?'.
std::string encode(std::u16string_view text);

// The same two, writing into a buffer the caller sized, so that large text
// needs no copy: decodeInto writes at most bytes.size() units (no character
// is longer in UTF-16 than in bytes), encodeInto at most 2 * text.size()
// bytes. Each returns how many it wrote.
std::size_t decodeInto(std::string_view bytes, char16_t* out);
std::size_t encodeInto(std::u16string_view text, char* out);

// The character that other programs know a unit by: the duplicated
// character for a duplicate code's own character, else the unit itself. It
// writes as the character's first code.
char16_t exchangeForm(char16_t unit);

// The pieces of decode and encode, for converting a stream in chunks (the
// table lookups themselves are in code_lookup.h).

// Reads the character at bytes[pos] and moves pos past it (one or two bytes).
// pos must be inside bytes.
char16_t decodeNext(std::string_view bytes, std::size_t& pos);

// Appends the code of one code point and returns true; returns false and
// appends nothing when code page 932 has no code for it (nor for a code point
// beyond U+FFFF or a surrogate).
bool appendEncoded(char32_t codePoint, std::string& out);

}  // namespace vesk::cp932
