#include "conversion/cp932/cp932_codec.h"

#include "conversion/cp932/cp932_tables.h"

namespace vesk::cp932 {

namespace {

constexpr char kUnmappable = '?';

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

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
  if (codePoint == 0) {  // the one character whose code is 0, the tables' "none"
    out.push_back('\0');
    return;
  }
  if (codePoint > 0xFFFF) {
    out.push_back(kUnmappable);
    return;
  }
  const std::uint16_t block = tables::kEncodeBlockIndex[codePoint >> tables::kEncodeBlockBits];
  const std::uint16_t code =
      tables::kEncodeBlocks[(std::size_t{block} << tables::kEncodeBlockBits) |
                            (codePoint & ((1u << tables::kEncodeBlockBits) - 1))];
  if (code == 0) {
    out.push_back(kUnmappable);
  } else if (code < 0x100) {
    out.push_back(static_cast<char>(code));
  } else {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
}

std::u16string decode(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) text.push_back(decodeNext(bytes, pos));
  return text;
}

std::string encode(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A surrogate pair is one character that code page 932 cannot hold: one '?'.
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      bytes.push_back(kUnmappable);
      ++i;
    } else {
      appendEncoded(text[i], bytes);
    }
  }
  return bytes;
}

}  // namespace vesk::cp932
