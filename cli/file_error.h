#pragma once

#include <stdexcept>
#include <string>

namespace vesk::cli {

// A file that cannot be read or written; the message names the file and the
// system's reason.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Access { Read, Write };

// "cannot read 'name': <strerror(error)>"; "-" is named standard input or
// standard output.
[[noreturn]] void throwFileError(Access access, const std::string& name, int error);

}  // namespace vesk::cli
