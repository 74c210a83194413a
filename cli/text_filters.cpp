#include "cli/text_filters.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "cli/utf8.h"
#include "cli/utf8_forms.h"
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

// The code of the three-byte sequence at at, or 0 when it is none or a
// character without a code.
std::uint16_t threeByteCode(const unsigned char* at) {
  const char16_t unit = threeByteUnitAt(at);
  return unit == 0 ? 0 : cp932::codeOf(unit);
}

// Copies the ASCII byte at text[pos], or the word of eight that starts
// there when all of it is ASCII; advances pos and out.
void copyAscii(std::string_view text, std::size_t& pos, char*& out) {
  if (pos + kWord <= text.size() && wordIsAscii(text.data() + pos)) {
    std::memcpy(out, text.data() + pos, kWord);
    out += kWord;
    pos += kWord;
  } else {
    *out++ = text[pos++];
  }
}

// Converts the run of three-byte UTF-8 characters that code page 932 holds
// at in; returns its length. Everything in locals: a store through a char
// pointer could change any member.
std::size_t convertThreeByteRun(const unsigned char* in, std::size_t size, char*& out) {
  char* dst = out;
  std::size_t pos = 0;
  std::uint16_t code = 0;
  while (pos + 3 <= size && (code = threeByteCode(in + pos)) != 0) {
    dst = cp932::writeCode(code, dst);
    pos += 3;
  }
  out = dst;
  return pos;
}

// Writes the UTF-8 of the run of two-byte characters at in; returns its length.
std::size_t convertPairRun(const Utf8Forms& forms, const unsigned char* in, std::size_t size,
                           char*& out) {
  const PackedUtf8* const pairs = forms.pairs.data();
  char* dst = out;
  std::size_t pos = 0;
  PackedUtf8 packed = 0;
  while (pos + 1 < size && in[pos] >= 0x80 &&
         (packed = pairs[static_cast<std::size_t>(in[pos]) << 8 | in[pos + 1]]) != 0) {
    storePacked(dst, packed);
    dst += packed >> kPackedLengthShift;
    pos += 2;
  }
  out = dst;
  return pos;
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

void Utf8ToCp932::passOver(std::string_view text) {
  if (text.empty()) return;
  position_.advance(text);
  atStart_ = false;
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
  const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t pos = 0;
  // Only the input's very first character can be a byte order mark.
  if (atStart_ && size > 0 && bytes[0] < 0x80) atStart_ = false;
  while (pos < size) {
    if (bytes[pos] < 0x80) {
      copyAscii(text, pos, dst);
      continue;
    }
    // Most text outside ASCII is runs of three-byte characters.
    if (const std::size_t run = convertThreeByteRun(bytes + pos, size - pos, dst); run > 0) {
      pos += run;
      atStart_ = false;
      continue;
    }
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
      if (code == 0 && sequence.codePoint != 0) {
        dst = replaceOrStop(
            text, pos, codePointName(sequence.codePoint) + " has no code in code page 932", dst);
      } else {
        dst = cp932::writeCode(code, dst);
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
  const Utf8Forms& forms = utf8Forms();
  // A byte or a pair reads as one character of at most three UTF-8 bytes,
  // stored four at a time.
  const std::size_t start = out.size();
  out.resize(start + 3 * text.size() + 1);
  char* dst = out.data() + start;
  const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t pos = 0;
  while (pos < size) {
    if (bytes[pos] < 0x80) {
      copyAscii(text, pos, dst);
      continue;
    }
    // Most text outside ASCII is runs of two-byte characters.
    if (const std::size_t run = convertPairRun(forms, bytes + pos, size - pos, dst); run > 0) {
      pos += run;
      continue;
    }
    if (pos + 1 == size && !atEnd && cp932::isLeadByte(bytes[pos])) {
      pending_.assign(1, text[pos]);
      break;
    }
    // A byte that reads on its own: half-width kana, or one that forms no character.
    const PackedUtf8 packed = forms.single[bytes[pos++]];
    storePacked(dst, packed);
    dst += packed >> kPackedLengthShift;
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

}  // namespace vesk::cli
