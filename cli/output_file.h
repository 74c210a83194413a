#pragma once

// Where the converted text goes: standard output, or a file that is replaced
// only when everything has been written.

#include <string>
#include <string_view>

namespace vesk::cli {

class Output {
 public:
  // "-" is standard output; any other name is written through a temporary
  // file in the same directory. Throws FileError.
  explicit Output(std::string name);
  // Without commit(), a temporary file is removed and the named file stays as it was.
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void write(std::string_view bytes);  // throws FileError

  // Puts the written bytes in place under the name. Throws FileError.
  void commit();

 private:
  std::string name_;
  std::string temporaryName_;  // empty for standard output
  int fd_;
};

}  // namespace vesk::cli
