#include "cli/text_filters.h"

#include "cp932/cp932_codec.h"

namespace vesk::cli {

namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;

}  // namespace

void Utf8ToCp932::feed(std::string_view chunk, std::string& out) {
  codePoints_.clear();
  decoder_.feed(chunk, codePoints_);
  encode(out);
}

void Utf8ToCp932::finish(std::string& out) {
  codePoints_.clear();
  decoder_.finish(codePoints_);
  encode(out);
}

void Utf8ToCp932::encode(std::string& out) {
  for (const char32_t codePoint : codePoints_) {
    if (atStart_) {
      atStart_ = false;
      if (codePoint == kByteOrderMark) {
        byteOrderMark_ = true;
        continue;
      }
    }
    if (!cp932::appendEncoded(codePoint, out)) out.push_back(cp932::kUnmappable);
  }
}

void Cp932ToUtf8::feed(std::string_view chunk, std::string& out) {
  if (chunk.empty()) return;
  std::size_t pos = 0;
  if (!pending_.empty()) {
    pending_.push_back(chunk.front());
    std::size_t used = 0;
    appendUtf8(cp932::exchangeForm(cp932::decodeNext(pending_, used)), out);
    pos = used - 1;  // 1 when the held lead byte paired with the chunk's first byte
    pending_.clear();
  }
  while (pos < chunk.size()) {
    if (pos + 1 == chunk.size() && cp932::isLeadByte(static_cast<unsigned char>(chunk[pos]))) {
      pending_.push_back(chunk[pos]);
      return;
    }
    appendUtf8(cp932::exchangeForm(cp932::decodeNext(chunk, pos)), out);
  }
}

void Cp932ToUtf8::finish(std::string& out) {
  std::size_t pos = 0;
  if (!pending_.empty()) appendUtf8(cp932::exchangeForm(cp932::decodeNext(pending_, pos)), out);
  pending_.clear();
}

}  // namespace vesk::cli
