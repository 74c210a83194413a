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

// "cannot <verb> 'name': <strerror(error)>", or "... standard input/output"
// for "-".
[[noreturn]] void throwFileError(const char* verb, const std::string& name, int error);

}  // namespace vesk::cli
