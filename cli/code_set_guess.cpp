#include "cli/code_set_guess.h"

namespace vesk::cli {

namespace {

std::string count(std::string_view what, std::uint64_t n) {
  return std::string(what).append(": ").append(std::to_string(n));
}

}  // namespace

std::string_view codeSetName(CodeSet codeSet) {
  switch (codeSet) {
    case CodeSet::Ascii:
      return "ascii";
    case CodeSet::Local:
      return "local";
    case CodeSet::Standard:
      return "standard";
    case CodeSet::Unknown:
      break;
  }
  return "unknown";
}

CodeSetGuess guessCodeSet(const CodeSetEvidence& e) {
  if (e.nulBytes > 0) {
    return {CodeSet::Unknown, count("NUL bytes", e.nulBytes) + " (binary or UTF-16)"};
  }
  if (e.nonAsciiBytes == 0) return {CodeSet::Ascii, count("bytes", e.bytes) + ", none above 7F"};
  if (e.utf8Valid) {
    return {CodeSet::Unknown, "UTF-8, " + count("non-ASCII characters", e.utf8NonAscii)};
  }
  if (e.invalidBytes > 0) {
    return {CodeSet::Unknown, count("bytes not Shift_JIS", e.invalidBytes) +
                                  ", the first at offset " + std::to_string(e.firstInvalidOffset)};
  }
  std::string counts = count("local codes F040-F9FC", e.localCodes) +
                       count(", half-width kana", e.halfWidthKana) +
                       count(", separate marks", e.separateMarks) +
                       count(", hiragana and katakana at standard codes", e.standardKana);
  CodeSet codeSet = CodeSet::Unknown;
  if (e.localCodes > e.standardKana) {
    codeSet = CodeSet::Local;
  } else if (e.standardKana > e.localCodes) {
    codeSet = CodeSet::Standard;
  } else if (e.localCodes == 0 && e.halfWidthKana > 0) {
    codeSet = CodeSet::Local;
  }
  return {codeSet, std::move(counts)};
}

}  // namespace vesk::cli
