#pragma once

// File names are UTF-8 inside the program and UTF-16 at the Windows calls.

#include <string>
#include <string_view>

namespace vesk::cli {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace vesk::cli
