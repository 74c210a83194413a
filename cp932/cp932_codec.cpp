#include "cp932/cp932_codec.h"

#include "cp932/cp932_tables.h"

namespace vesk::cp932 {

namespace {

constexpr char kUnmappable = '?';

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes the code of one unit, one or two bytes; '?' for a unit without one,
// such as a surrogate. Returns the end of what it wrote.
char* writeUnit(char16_t unit, char* out) {
  if (unit == 0) {  // the one character whose code is 0, the tables' "none"
    *out = '\0';
    return out + 1;
  }
  const std::size_t block = tables::kEncodeBlockIndex[unit >> tables::kEncodeBlockBits];
  const std::size_t entry = unit & ((1u << tables::kEncodeBlockBits) - 1);
  const std::uint16_t code = tables::kEncodeBlocks[(block << tables::kEncodeBlockBits) | entry];
  if (code == 0) {
    *out = kUnmappable;
    return out + 1;
  }
  if (code < 0x100) {
    *out = static_cast<char>(code);
    return out + 1;
  }
  out[0] = static_cast<char>(code >> 8);
  out[1] = static_cast<char>(code & 0xFF);
  return out + 2;
}

}  // namespace

bool isLeadByte(unsigned char byte) { return tables::kLeadRow[byte] != 0; }

char16_t decodeNext(std::string_view bytes, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  const unsigned row = tables::kLeadRow[lead];
  if (row != 0 && pos + 1 < bytes.size()) {
    const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
    const unsigned column = trail - tables::kTrailFirst;
    if (column < tables::kTrailCount) {
      const char16_t unit = tables::kDoubleByte[(row - 1) * tables::kTrailCount + column];
      if (unit != 0) {
        pos += 2;
        return unit;
      }
    }
  }
  pos += 1;
  return tables::kSingleByte[lead];
}

void appendEncoded(char32_t codePoint, std::string& out) {
  if (codePoint > 0xFFFF) {
    out.push_back(kUnmappable);
    return;
  }
  char code[2];
  const char* const end = writeUnit(static_cast<char16_t>(codePoint), code);
  out.append(code, static_cast<std::size_t>(end - code));
}

std::size_t decodeInto(std::string_view bytes, char16_t* out) {
  char16_t* const begin = out;
  for (std::size_t pos = 0; pos < bytes.size();) *out++ = decodeNext(bytes, pos);
  return static_cast<std::size_t>(out - begin);
}

std::size_t encodeInto(std::u16string_view text, char* out) {
  char* const begin = out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A surrogate pair is one character that code page 932 cannot hold: one '?'.
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      *out++ = kUnmappable;
      ++i;
    } else {
      out = writeUnit(text[i], out);
    }
  }
  return static_cast<std::size_t>(out - begin);
}

std::u16string decode(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  text.resize(decodeInto(bytes, text.data()));
  return text;
}

std::string encode(std::u16string_view text) {
  std::string bytes(2 * text.size(), '\0');
  bytes.resize(encodeInto(text, bytes.data()));
  return bytes;
}

}  // namespace vesk::cp932
