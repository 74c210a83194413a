#include "cp932/cp932_codec.h"

#include "cp932/code_lookup.h"

namespace vesk::cp932 {

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes the code of one unit, or '?' for a unit without one.
char* writeUnit(char16_t unit, char* out) {
  const std::uint16_t code = codeOf(unit);
  if (code == 0 && unit != 0) {
    *out = kUnmappable;
    return out + 1;
  }
  return writeCode(code, out);
}

}  // namespace

char16_t decodeNext(std::string_view bytes, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (pos + 1 < bytes.size()) {
    if (const char16_t unit = pairAt(lead, static_cast<unsigned char>(bytes[pos + 1]))) {
      pos += 2;
      return unit;
    }
  }
  pos += 1;
  return singleAt(lead);
}

char16_t exchangeForm(char16_t unit) { return exchangeFormOf(unit); }

bool appendEncoded(char32_t codePoint, std::string& out) {
  if (codePoint > 0xFFFF) return false;
  const auto unit = static_cast<char16_t>(codePoint);
  const std::uint16_t code = codeOf(unit);
  if (code == 0 && unit != 0) return false;
  char bytes[2];
  out.append(bytes, static_cast<std::size_t>(writeCode(code, bytes) - bytes));
  return true;
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
