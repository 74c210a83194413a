#pragma once

// What vesktext-convert does with its arguments, the same on every system;
// each system's main() only prepares the standard streams and the arguments.

#include <span>
#include <string_view>

namespace vesk::cli {

// Runs the arguments after the program name (UTF-8 on Windows) and returns
// the exit status.
int runProgram(std::span<const std::string_view> arguments);

}  // namespace vesk::cli
