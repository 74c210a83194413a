// libFuzzer: any bytes survive a trip through UTF-16 byte for byte; any
// UTF-16 writes within its promised room and without a memory error.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cp932/cp932_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (vesk::cp932::encode(vesk::cp932::decode(bytes)) != bytes) std::abort();
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  if (vesk::cp932::encode(text).size() > 2 * text.size()) std::abort();
  return 0;
}
