#include "cli/file_error.h"

#include <cstring>

namespace vesk::cli {

void throwFileError(const char* verb, const std::string& name, int error) {
  const std::string what =
      name == "-"
          ? std::string(std::strcmp(verb, "read") == 0 ? "standard input" : "standard output")
          : "'" + name + "'";
  throw FileError("cannot " + std::string(verb) + " " + what + ": " + std::strerror(error));
}

}  // namespace vesk::cli
