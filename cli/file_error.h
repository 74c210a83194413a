#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vesk::cli {

// A file that cannot be read or written, or whose text cannot be converted;
// the message names the file and the reason.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Access { Read, Write };

// The name with control characters escaped (\n, \x1B...), so that it cannot
// break or forge a line of output. Backslashes stay: on Windows they separate
// folders.
std::string escapedName(std::string_view name);

// How messages name a file: 'escaped name' (a quote in it escaped too); "-"
// is standard input or standard output.
std::string fileName(Access access, std::string_view name);

// The system's words for an error number: errno's on POSIX, GetLastError()'s
// on Windows.
std::string systemErrorText(int error);

// "cannot read 'name': <reason>".
[[noreturn]] void throwFileError(Access access, std::string_view name, std::string_view reason);

// "cannot read 'name': <systemErrorText(error)>".
[[noreturn]] void throwFileError(Access access, std::string_view name, int error);

}  // namespace vesk::cli
