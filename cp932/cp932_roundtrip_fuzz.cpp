// libFuzzer: any bytes survive a trip through UTF-16 byte for byte, except
// that a duplicate code may come back as the other code of its character;
// any UTF-16 writes without a memory error.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cp932/cp932_codec.h"

namespace {

void checkBytesReadBack(std::string_view bytes) {
  const std::string back = vesk::cp932::encode(vesk::cp932::decode(bytes));
  if (back.size() != bytes.size()) std::abort();
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    const char16_t unit = vesk::cp932::decodeNext(bytes, pos);
    const std::string_view original = bytes.substr(start, pos - start);
    const std::string_view written = std::string_view(back).substr(start, pos - start);
    if (written != original &&
        (written.size() != 2 || vesk::cp932::decode(written) != std::u16string(1, unit))) {
      std::abort();
    }
  }
}

void checkAnyTextWrites(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  if (vesk::cp932::encode(text).size() > 2 * text.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkBytesReadBack(std::string_view(reinterpret_cast<const char*>(data), size));
  checkAnyTextWrites(data, size);
  return 0;
}
