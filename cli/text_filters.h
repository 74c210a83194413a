#pragma once

// The stages of the --utf-8 path between UTF-8 and code page 932 bytes.

#include <string>

#include "cli/chunk_filter.h"
#include "cli/utf8.h"

namespace vesk::cli {

// UTF-8 -> code page 932, '?' for what code page 932 cannot hold. A byte
// order mark at the very start is taken out and reported, not written.
class Utf8ToCp932 : public ChunkFilter {
 public:
  void feed(std::string_view chunk, std::string& out) override;
  void finish(std::string& out) override;
  bool sawByteOrderMark() const { return byteOrderMark_; }

 private:
  void encode(std::string& out);

  Utf8Decoder decoder_;
  std::u32string codePoints_;
  bool atStart_ = true;
  bool byteOrderMark_ = false;
};

// Code page 932 -> UTF-8; a lead byte at the end of a chunk waits for the
// byte after it.
class Cp932ToUtf8 : public ChunkFilter {
 public:
  void feed(std::string_view chunk, std::string& out) override;
  void finish(std::string& out) override;

 private:
  std::string pending_;  // at most one lead byte
};

}  // namespace vesk::cli
