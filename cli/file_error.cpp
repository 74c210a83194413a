#include "cli/file_error.h"

#include <cstdio>
#include <cstring>

namespace vesk::cli {

std::string fileName(Access access, std::string_view name) {
  if (name == "-") return access == Access::Read ? "standard input" : "standard output";
  std::string quoted = "'";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (c == '\\' || c == '\'') {
      quoted += {'\\', c};
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

void throwFileError(Access access, std::string_view name, int error) {
  throw FileError(std::string(access == Access::Read ? "cannot read " : "cannot write ") +
                  fileName(access, name) + ": " + std::strerror(error));
}

}  // namespace vesk::cli
