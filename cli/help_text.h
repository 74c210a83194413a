#pragma once

#include <string_view>

namespace vesk::cli {

inline constexpr std::string_view kProgramName = "vesktext-convert";

// The text of --version, with its line break.
std::string_view versionText();

// The text of --help, made from the manual page at build time.
std::string_view helpText();

}  // namespace vesk::cli
