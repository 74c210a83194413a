#pragma once

// Standard input, output and error as the program needs them, before
// anything is read or written.

namespace vesk::cli {

// POSIX: opens a descriptor on each of 0, 1 and 2 that is closed, the wrong
// way round (input write-only, output read-only), so that no file the
// program opens later takes its number, and using the stream fails as a
// closed one would: reading a closed standard input is an error, not an
// empty file. Windows: standard error shows UTF-8 messages on a console, and
// is written in binary mode elsewhere, as the text itself is.
void prepareStandardStreams();

}  // namespace vesk::cli
