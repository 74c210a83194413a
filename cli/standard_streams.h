#pragma once

// Standard input, output and error for a program started with some of them
// closed.

#include <string_view>

namespace vesk::cli {

// Opens a descriptor on each of 0, 1 and 2 that is closed, the wrong way
// round (input write-only, output read-only), so that no file the program
// opens later takes its number, and using the stream fails as a closed one
// would: reading a closed standard input is an error, not an empty file.
void guardStandardStreams();

// Writes all of text to standard output; on failure says so on standard
// error. Returns the exit status: 0, or 1.
int writeStandardOutput(std::string_view text);

}  // namespace vesk::cli
