#include "cli/file_error.h"

#include <cstdio>

namespace vesk::cli {

std::string escapedName(std::string_view name) {
  std::string escaped;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\t') {
      escaped += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      escaped += escape;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string fileName(Access access, std::string_view name) {
  if (name == "-") return access == Access::Read ? "standard input" : "standard output";
  std::string quoted = "'";
  for (const char c : escapedName(name)) {
    if (c == '\'') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

void throwFileError(Access access, std::string_view name, std::string_view reason) {
  throw FileError(std::string(access == Access::Read ? "cannot read " : "cannot write ") +
                  fileName(access, name) + ": " + std::string(reason));
}

void throwFileError(Access access, std::string_view name, int error) {
  throwFileError(access, name, systemErrorText(error));
}

}  // namespace vesk::cli
