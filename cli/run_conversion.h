#pragma once

#include <ostream>

#include "cli/command_line.h"

namespace vesk::cli {

// Converts the job's inputs in fixed-size chunks: one after another into
// its output, or with inPlace each into itself. Returns the exit status: 0,
// or 1 after writing to errors why a file could not be read, converted or
// written.
int runConversion(const ConversionJob& job, std::ostream& errors);

}  // namespace vesk::cli
