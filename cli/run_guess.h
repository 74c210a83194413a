#pragma once

#include <ostream>

#include "cli/command_line.h"

namespace vesk::cli {

// Writes one line per input to standard output: "name: codeset", with -v
// followed by the evidence in parentheses. An input that cannot be read is
// reported to errors and the rest are still guessed. Returns the exit
// status: 0, or 1 when an input could not be read or the output written.
int runGuess(const GuessJob& job, std::ostream& errors);

}  // namespace vesk::cli
