#pragma once

// Code page 932 (Windows-31J) <-> Unicode, for the parts of the program that
// hold text as Unicode: the panes, the clipboard and the command line's
// --utf-8 mode. Reading and writing back keeps bytes, so that local-code text
// survives a trip through Unicode.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::cp932 {

// Bytes -> UTF-16. A byte that begins no valid character reads as a
// private-use code point of its own and writes back as that byte.
std::u16string decode(std::string_view bytes);

// UTF-16 -> bytes. A character code page 932 cannot hold writes as '?'.
std::string encode(std::u16string_view text);

// The same two, writing into a buffer the caller sized, so that large text
// needs no copy: decodeInto writes at most bytes.size() units (no character
// is longer in UTF-16 than in bytes), encodeInto at most 2 * text.size()
// bytes. Each returns how many it wrote.
std::size_t decodeInto(std::string_view bytes, char16_t* out);
std::size_t encodeInto(std::u16string_view text, char* out);

// The pieces of decode and encode, for converting a stream in chunks.

// Whether the byte may begin a two-byte character, so that what it reads as
// depends on the byte after it.
bool isLeadByte(unsigned char byte);

// Reads the character at bytes[pos] and moves pos past it (one or two bytes).
// pos must be inside bytes.
char16_t decodeNext(std::string_view bytes, std::size_t& pos);

// Appends the bytes of one code point; '?' when code page 932 cannot hold it
// (including code points beyond U+FFFF and surrogates).
void appendEncoded(char32_t codePoint, std::string& out);

}  // namespace vesk::cp932
