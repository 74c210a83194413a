#include "cli/text_filters.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "cli/utf8.h"
#include "cp932/code_lookup.h"

namespace vesk::cli {

namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;
constexpr std::size_t kWord = 8;

// Text of a stream that continues: what was left over, then the new chunk.
std::string_view withPending(std::string& pending, std::string_view chunk, std::string& joined) {
  if (pending.empty()) return chunk;
  joined.assign(pending).append(chunk);
  pending.clear();
  return joined;
}

bool wordIsAscii(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return (word & 0x8080808080808080) == 0;
}

// Copies the ASCII bytes at text[pos], a word at a time; advances pos and out.
void copyAscii(std::string_view text, std::size_t& pos, char*& out) {
  while (pos + kWord <= text.size() && wordIsAscii(text.data() + pos)) {
    std::memcpy(out, text.data() + pos, kWord);
    out += kWord;
    pos += kWord;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) *out++ = text[pos++];
}

std::string hexBytes(std::string_view bytes) {
  std::string hex;
  for (const char byte : bytes) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%s%02X", hex.empty() ? "" : " ",
                  static_cast<unsigned char>(byte));
    hex += digits;
  }
  return hex;
}

std::string codePointName(char32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
  return name;
}

}  // namespace

void Utf8ToCp932::feed(std::string_view chunk, std::string& out) {
  convert(withPending(pending_, chunk, joined_), false, out);
}

void Utf8ToCp932::finish(std::string& out) {
  convert(withPending(pending_, {}, joined_), true, out);
}

char* Utf8ToCp932::replaceOrStop(std::string_view text, std::size_t pos, const std::string& what,
                                 char* out) {
  if (!replace_) {
    throw TextError(position_.describe(text, pos) + ": " + what + " (--replace writes '?')");
  }
  ++replaced_;
  *out = '?';
  return out + 1;
}

void Utf8ToCp932::convert(std::string_view text, bool atEnd, std::string& out) {
  // No character is longer in code page 932 than in UTF-8.
  const std::size_t start = out.size();
  out.resize(start + text.size());
  char* dst = out.data() + start;
  std::size_t pos = 0;
  while (pos < text.size()) {
    copyAscii(text, pos, dst);
    // Only the input's very first character can be a byte order mark.
    if (pos > 0) atStart_ = false;
    if (pos == text.size()) break;
    const Utf8Sequence sequence = readUtf8(text, pos);
    if (sequence.kind == Utf8Sequence::Kind::Unfinished && !atEnd) {
      pending_.assign(text.substr(pos));
      break;
    }
    if (sequence.kind != Utf8Sequence::Kind::Valid) {
      dst = replaceOrStop(text, pos,
                          "not UTF-8: byte" + std::string(sequence.length > 1 ? "s " : " ") +
                              hexBytes(text.substr(pos, sequence.length)),
                          dst);
    } else if (atStart_ && sequence.codePoint == kByteOrderMark) {
      byteOrderMark_ = true;
    } else {
      const std::uint16_t code = sequence.codePoint > 0xFFFF
                                     ? 0
                                     : cp932::codeOf(static_cast<char16_t>(sequence.codePoint));
      if (code == 0) {
        dst = replaceOrStop(
            text, pos, codePointName(sequence.codePoint) + " has no code in code page 932", dst);
      } else if (code < 0x100) {
        *dst++ = static_cast<char>(code);
      } else {
        *dst++ = static_cast<char>(code >> 8);
        *dst++ = static_cast<char>(code & 0xFF);
      }
    }
    atStart_ = false;
    pos += sequence.length;
  }
  position_.advance(text.substr(0, pos));
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

void Cp932ToUtf8::feed(std::string_view chunk, std::string& out) {
  convert(withPending(pending_, chunk, joined_), false, out);
}

void Cp932ToUtf8::finish(std::string& out) {
  convert(withPending(pending_, {}, joined_), true, out);
}

void Cp932ToUtf8::convert(std::string_view text, bool atEnd, std::string& out) {
  // A byte or a pair reads as one unit of at most three UTF-8 bytes.
  const std::size_t start = out.size();
  out.resize(start + 3 * text.size());
  char* dst = out.data() + start;
  const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t pos = 0;
  while (pos < text.size()) {
    copyAscii(text, pos, dst);
    if (pos == text.size()) break;
    char16_t unit = 0;
    if (pos + 1 < text.size()) {
      unit = cp932::pairAt(bytes[pos], bytes[pos + 1]);
    } else if (!atEnd && cp932::isLeadByte(bytes[pos])) {
      pending_.assign(1, text[pos]);
      break;
    }
    pos += unit != 0 ? 2 : 1;
    if (unit == 0) unit = cp932::singleAt(bytes[pos - 1]);
    dst = writeUtf8(cp932::exchangeFormOf(unit), dst);
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

}  // namespace vesk::cli
