#pragma once

// ICU's windows-31j converter and glibc's CP932 converter as the tests'
// references, plus the few places where our tables deliberately differ.

#include <iconv.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <memory>
#include <optional>
#include <string>

namespace vesk::cp932::testing {

class IcuWindows31j {
 public:
  IcuWindows31j() {
    UErrorCode status = U_ZERO_ERROR;
    converter_.reset(ucnv_open("windows-31j", &status));
    ucnv_setToUCallBack(converter_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    ok_ = U_SUCCESS(status);
  }

  bool ok() const { return ok_; }

  // The one UTF-16 unit ICU reads all of bytes as, if any.
  std::optional<char16_t> decodeWhole(const std::string& bytes) const {
    UChar units[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t count = ucnv_toUChars(converter_.get(), units, 4, bytes.data(),
                                        static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status) || count != 1) return std::nullopt;
    return static_cast<char16_t>(units[0]);
  }

  // The bytes ICU writes the unit as, without fallbacks, if any.
  std::optional<std::string> encode(char16_t unit) const {
    char bytes[8];
    UErrorCode status = U_ZERO_ERROR;
    const UChar source[1] = {static_cast<UChar>(unit)};
    const int32_t count = ucnv_fromUChars(converter_.get(), bytes, 8, source, 1, &status);
    if (U_FAILURE(status) || count <= 0) return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(count));
  }

 private:
  struct Closer {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
  };
  std::unique_ptr<UConverter, Closer> converter_;
  bool ok_ = false;
};

// What one byte reads as on its own, by our rules: ASCII is itself (ICU's
// table rotates 0x1A, 0x1C and 0x7F), a byte ICU cannot read alone is
// U+F700 + byte, anything else is ICU's character.
inline char16_t expectedSingle(const IcuWindows31j& icu, unsigned char byte) {
  if (byte < 0x80) return byte;
  const auto unit = icu.decodeWhole(std::string(1, static_cast<char>(byte)));
  return unit ? *unit : static_cast<char16_t>(0xF700 + byte);
}

// The bytes glibc's CP932 converter writes the unit as, if any.
inline std::optional<std::string> glibcEncode(char16_t unit) {
  const iconv_t converter = iconv_open("CP932", "UTF-16LE");
  char source[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  char bytes[8];
  char* in = source;
  char* out = bytes;
  std::size_t inLeft = sizeof source;
  std::size_t outLeft = sizeof bytes;
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return std::nullopt;
  return std::string(bytes, static_cast<std::size_t>(out - bytes));
}

inline constexpr char16_t kRootSign = 0x221A;
inline const std::string kRootSignCode = "\x87\x95";

}  // namespace vesk::cp932::testing
