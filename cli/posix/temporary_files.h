#pragma once

// Removes the program's temporary file when a signal ends the program
// (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE), then lets the signal take
// its usual course. Signals the program was started ignoring stay ignored.

#include <string>

namespace vesk::cli {

// Makes a unique file from a mkstemp pattern, rewriting the pattern to its
// name, and has it removed on those signals until forgetTemporaryFile().
// Returns the descriptor, or -1 with errno set.
int makeTemporaryFile(std::string& pattern);

// The file was renamed or removed: no signal needs to remove it any more.
void forgetTemporaryFile();

}  // namespace vesk::cli
