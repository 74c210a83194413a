#pragma once

// An input file read in chunks; "-" is standard input.

#include <cstddef>
#include <string>

namespace vesk::cli {

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
  int fd_;
};

}  // namespace vesk::cli
