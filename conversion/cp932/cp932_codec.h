#pragma once

// Code page 932 (Windows-31J) <-> Unicode, for the parts of the program that
// hold text as Unicode: the panes, the clipboard and the command line's
// --utf-8 mode. Reading and writing back keeps bytes, so that local-code text
// survives a trip through Unicode.

#include <string>
#include <string_view>

namespace vesk::cp932 {

// Bytes -> UTF-16. A byte that begins no valid character reads as a
// private-use code point of its own and writes back as that byte.
std::u16string decode(std::string_view bytes);

// UTF-16 -> bytes. A character code page 932 cannot hold writes as '?'.
std::string encode(std::u16string_view text);

}  // namespace vesk::cp932
