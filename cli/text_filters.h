#pragma once

// The stages of the --utf-8 path between UTF-8 and code page 932 bytes.

#include <cstddef>
#include <stdexcept>
#include <string>

#include "cli/chunk_filter.h"
#include "cli/text_position.h"

namespace vesk::cli {

// Text that cannot be converted without a loss; the message says where
// (line and column) and what.
class TextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// UTF-8 -> code page 932. A character that code page 932 cannot hold, and a
// sequence that is not UTF-8, stop the conversion with a TextError, or with
// replace each becomes '?' and is counted. A byte order mark at the very
// start is taken out and reported, not written.
class Utf8ToCp932 : public ChunkFilter {
 public:
  explicit Utf8ToCp932(bool replace) : replace_(replace) {}
  void feed(std::string_view chunk, std::string& out) override;
  void finish(std::string& out) override;
  std::size_t replaced() const override { return replaced_; }
  bool sawByteOrderMark() const { return byteOrderMark_; }
  // Whether an unfinished sequence is held back for the next chunk.
  bool holdsBack() const { return !pending_.empty(); }
  // Moves past text that was converted without this stage, so that the
  // places it reports count it.
  void passOver(std::string_view text);

 private:
  void convert(std::string_view text, bool atEnd, std::string& out);
  // A '?' for what cannot be written, or the error naming it.
  char* replaceOrStop(std::string_view text, std::size_t pos, const std::string& what, char* out);

  bool replace_;
  std::size_t replaced_ = 0;
  bool atStart_ = true;
  bool byteOrderMark_ = false;
  std::string pending_;  // an unfinished sequence at the end of the last chunk
  std::string joined_;   // it and the next chunk
  TextPosition position_;
};

// Code page 932 -> UTF-8, each duplicate code as the character other programs
// know; a lead byte at the end of a chunk waits for the byte after it.
class Cp932ToUtf8 : public ChunkFilter {
 public:
  void feed(std::string_view chunk, std::string& out) override;
  void finish(std::string& out) override;
  // Whether a lead byte is held back for the next chunk.
  bool holdsBack() const { return !pending_.empty(); }

 private:
  void convert(std::string_view text, bool atEnd, std::string& out);

  std::string pending_;  // at most one lead byte
  std::string joined_;
};

}  // namespace vesk::cli
