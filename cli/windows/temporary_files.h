#pragma once

// Removes the program's temporary file when Ctrl+C, Ctrl+Break, closing the
// console, logging off or shutting down ends the program.

#include <string>

namespace vesk::cli {

// The file at path, opened with FILE_SHARE_DELETE, is to be removed on those
// events until forgetTemporaryFile().
void rememberTemporaryFile(std::wstring path);

// The file was renamed or removed: no event needs to remove it any more.
void forgetTemporaryFile();

}  // namespace vesk::cli
