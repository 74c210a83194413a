#include "cli/file_error.h"

#include <cstring>

namespace vesk::cli {

void throwFileError(Access access, const std::string& name, int error) {
  const bool reading = access == Access::Read;
  const std::string file = name != "-" ? "'" + name + "'"
                           : reading   ? "standard input"
                                       : "standard output";
  throw FileError(std::string(reading ? "cannot read " : "cannot write ") + file + ": " +
                  std::strerror(error));
}

}  // namespace vesk::cli
