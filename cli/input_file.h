#pragma once

// An input file read in chunks; "-" is standard input.

#include <cstddef>
#include <string>

#include "cli/native_file.h"

namespace vesk::cli {

// How much each read asks for: files are converted in chunks of this size.
inline constexpr std::size_t kReadSize = 64 * 1024;

class InputFile {
 public:
  explicit InputFile(std::string name);  // throws FileError
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads up to size bytes; 0 at the end of the file. Throws FileError.
  std::size_t read(char* buffer, std::size_t size);

 private:
  std::string name_;
  NativeFile file_;
};

}  // namespace vesk::cli
