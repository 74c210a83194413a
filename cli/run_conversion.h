#pragma once

#include <ostream>

#include "cli/command_line.h"

namespace vesk::cli {

// Converts the job's inputs one after another into its output, in fixed-size
// chunks. Returns the exit status: 0, or 1 after writing the reason a file
// could not be read or written to errors.
int runConversion(const ConversionJob& job, std::ostream& errors);

}  // namespace vesk::cli
