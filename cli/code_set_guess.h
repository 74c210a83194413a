#pragma once

// Which code set a file's evidence points to, and why, in words a user can
// check against the file.

#include <string>
#include <string_view>

#include "cli/code_set_evidence.h"

namespace vesk::cli {

enum class CodeSet { Ascii, Local, Standard, Unknown };

// "ascii", "local", "standard" or "unknown".
std::string_view codeSetName(CodeSet codeSet);

struct CodeSetGuess {
  CodeSet codeSet;
  std::string evidence;  // the counts the guess rests on
};

// Unknown when the bytes are no Shift_JIS text (NUL bytes, invalid bytes,
// UTF-8) or when nothing tells the two code sets apart. Codes of one code set
// that the other never holds decide, the more frequent winning; half-width
// kana, which standard text may hold, decide only when nothing else does.
CodeSetGuess guessCodeSet(const CodeSetEvidence& evidence);

}  // namespace vesk::cli
