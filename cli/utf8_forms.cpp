#include "cli/utf8_forms.h"

#include "cli/utf8.h"
#include "cp932/code_lookup.h"

namespace vesk::cli {
namespace {

PackedUtf8 pack(char16_t unit) {
  char bytes[4];
  const auto length = static_cast<unsigned>(writeUtf8(cp932::exchangeFormOf(unit), bytes) - bytes);
  PackedUtf8 packed = length << kPackedLengthShift;
  for (unsigned i = 0; i < length; ++i) {
    packed |= static_cast<PackedUtf8>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  }
  return packed;
}

Utf8Forms build() {
  Utf8Forms forms;
  forms.pairs.assign(0x10000, 0);
  for (unsigned lead = 0; lead < 256; ++lead) {
    forms.single[lead] = pack(cp932::singleAt(static_cast<unsigned char>(lead)));
    for (unsigned trail = 0; trail < 256; ++trail) {
      const char16_t unit =
          cp932::pairAt(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (unit != 0) forms.pairs[lead << 8 | trail] = pack(unit);
    }
  }
  return forms;
}

}  // namespace

const Utf8Forms& utf8Forms() {
  static const Utf8Forms forms = build();
  return forms;
}

}  // namespace vesk::cli
