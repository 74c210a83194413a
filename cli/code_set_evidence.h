#pragma once

// What a file's bytes say about its code set, counted in one pass over
// chunks cut anywhere, so a file of any size is read once in little memory.

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/utf8.h"

namespace vesk::cli {

struct CodeSetEvidence {
  std::uint64_t bytes = 0;
  std::uint64_t nonAsciiBytes = 0;
  // Local: two-byte codes in the user-defined area, F040-F9FC, and
  // half-width kana (A1-DF), some of them marks directly after a letter.
  std::uint64_t localCodes = 0;
  std::uint64_t halfWidthKana = 0;
  std::uint64_t separateMarks = 0;
  // Standard: hiragana 829F-82F1 and katakana 8340-8396 at their
  // Shift_JIS codes, which local text never holds.
  std::uint64_t standardKana = 0;
  // Neither: bytes that begin no Shift_JIS character, or a lead byte
  // without its second byte.
  std::uint64_t invalidBytes = 0;
  std::uint64_t firstInvalidOffset = 0;
  std::uint64_t nulBytes = 0;
  // The whole file read as UTF-8.
  bool utf8Valid = true;
  std::uint64_t utf8NonAscii = 0;

  bool operator==(const CodeSetEvidence&) const = default;
};

class CodeSetScanner {
 public:
  void feed(std::string_view chunk);

  // Ends the input and gives its evidence.
  CodeSetEvidence finish();

 private:
  void single(unsigned char byte, std::uint64_t offset);
  void pair(unsigned char lead, unsigned char trail);
  void invalid(std::uint64_t offset);
  void feedUtf8(std::string_view chunk);

  CodeSetEvidence evidence_;
  int lead_ = -1;  // a lead byte waiting for the next chunk
  bool afterKanaLetter_ = false;
  std::string utf8Pending_;  // an unfinished UTF-8 sequence at the end of a chunk
  std::string utf8Joined_;
};

}  // namespace vesk::cli
