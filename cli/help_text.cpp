#include "cli/help_text.h"

namespace vesk::cli {

std::string_view versionText() {
  return "vesktext-convert 1.20\n"
         "Copyright (c) 2026 The Vesktext developers; MIT License (see LICENSE).\n";
}

std::string_view helpText() {
  return R"(Usage: vesktext-convert --to-standard|--to-local [--utf-8 [--replace]] [-o OUT] [FILE...]

Converts Japanese text between the Vesk local code set and standard Shift_JIS
(code page 932), byte for byte as the Vesktext window does.

  --to-standard  local code set -> standard Shift_JIS
  --to-local     standard Shift_JIS -> local code set
  --utf-8        read and write UTF-8 instead of code page 932 bytes
  --replace      with --utf-8: write '?' for a character that code page 932
                 cannot hold, or for bytes that are not UTF-8, and say how
                 many on standard error, instead of stopping
  -o OUT         write to OUT instead of standard output ("-o -" is
                 standard output)
  -h, --help     show this help
  --version      show the version

Each FILE is converted on its own and the results are written one after
another; no FILE, or "-", reads standard input. Nothing is added and nothing
else is changed: line breaks stay as they are.

OUT, when it is a file, is replaced only when everything converted: the new
file keeps the old one's owner, group and permissions (never set-ID bits), and
a symbolic link keeps pointing at it. A device or a pipe is written into.

With --utf-8, a character that code page 932 cannot hold, or bytes that are
not UTF-8, stop the conversion with a message naming the line, the column and
the character; OUT is then left as it was. Characters that Linux programs use
for code page 932 symbols are taken as those symbols (U+301C WAVE DASH as
FULLWIDTH TILDE, U+2212 MINUS SIGN as FULLWIDTH HYPHEN-MINUS...). Converted
bytes that form no code page 932 character are written as private-use
characters U+F780-U+F7FF, which read back as the same bytes; a code that code
page 932 holds twice is written as its character (81E3 as U+221A, which reads
back as 8795). A byte order mark at the start of a file is kept.

Exit status: 0 on success, 1 when a file cannot be read, converted or written
(the conversion stops there), 2 for a wrong command line.
)";
}

}  // namespace vesk::cli
