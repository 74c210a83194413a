#pragma once

// Removes the program's temporary file when Ctrl+C, Ctrl+Break, closing the
// console, logging off or shutting down ends the program.

#include <windows.h>

#include <string>

namespace vesk::cli {

// Creates the file at path, which must not exist yet, for writing, and has it
// removed on those events until forgetTemporaryFile(). Returns the handle, or
// INVALID_HANDLE_VALUE with GetLastError() set.
HANDLE makeTemporaryFile(const std::wstring& path);

// The file was renamed or removed: no event needs to remove it any more.
void forgetTemporaryFile();

}  // namespace vesk::cli
