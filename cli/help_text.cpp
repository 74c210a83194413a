#include "cli/help_text.h"

namespace vesk::cli {

std::string_view versionText() {
  return "vesktext-convert 1.20\n"
         "Copyright (c) 2026 The Vesktext developers; MIT License (see LICENSE).\n";
}

std::string_view helpText() {
  return R"(Usage: vesktext-convert --to-standard|--to-local [--utf-8] [-o OUT] [FILE...]

Converts Japanese text between the Vesk local code set and standard Shift_JIS
(code page 932), byte for byte as the Vesktext window does.

  --to-standard  local code set -> standard Shift_JIS
  --to-local     standard Shift_JIS -> local code set
  --utf-8        read and write UTF-8 instead of code page 932 bytes
  -o OUT         write to OUT instead of standard output; OUT is replaced
                 only when everything converted ("-o -" is standard output)
  -h, --help     show this help
  --version      show the version

Each FILE is converted on its own and the results are written one after
another; no FILE, or "-", reads standard input. Nothing is added and nothing
else is changed: line breaks stay as they are.

With --utf-8, a character that code page 932 cannot hold, and any invalid
UTF-8 sequence, is converted as '?'. Converted bytes that form no code page
932 character are written as private-use characters U+F780-U+F7FF, which read
back as the same bytes. A byte order mark at the start of a file is kept.

Exit status: 0 on success, 1 when a file cannot be read or written (the
conversion stops there), 2 for a wrong command line.
)";
}

}  // namespace vesk::cli
