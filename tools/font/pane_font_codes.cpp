// Lists the characters a byte pane holds that no installed font draws, each
// with what the panes' own font draws for it, one per line for
// tools/font/generate_pane_font.py:
//
//   local <unit> <character>      a local code: the standard character it
//                                 stands for, marked as local
//   duplicate <unit> <character>  a code page 932 code whose character has an
//                                 earlier code: that character
//   byte <unit> <byte>            a byte that forms no character: its value
//
// All in hexadecimal. The units come from the pane's own decoding, so the font
// follows the codec and the code tables without a copy of either.

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "conversion/code_tables.h"
#include "cp932/cp932_codec.h"
#include "windowlayer/text/cp932_text.h"

namespace {

// What a pane holds for the bytes of one code.
char16_t paneUnit(std::string_view code) {
  const QString text = vesk::paneTextFromBytes(QByteArray(code.data(), std::ssize(code)));
  return text.size() == 1 ? text[0].unicode() : 0;
}

bool isPrivateUse(char16_t unit) { return unit >= 0xE000 && unit <= 0xF8FF; }

void print(const char* kind, unsigned unit, unsigned shown) {
  std::printf("%s %04X %04X\n", kind, unit, shown);
}

}  // namespace

int main() {
  using vesk::tables::LocalCodes;
  using vesk::tables::StandardCodes;
  for (int n = 1; n <= LocalCodes.size(); ++n) {
    const char16_t standard = paneUnit(vesk::entryAt(StandardCodes, n));
    print("local", paneUnit(vesk::entryAt(LocalCodes, n)), vesk::cp932::exchangeForm(standard));
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const char code[] = {static_cast<char>(lead), static_cast<char>(trail)};
      const char16_t unit = paneUnit(std::string_view(code, 2));
      if (vesk::cp932::exchangeForm(unit) != unit) {
        print("duplicate", unit, vesk::cp932::exchangeForm(unit));
      }
    }
  }
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    const char single = static_cast<char>(byte);
    const char16_t unit = paneUnit(std::string_view(&single, 1));
    if (isPrivateUse(unit)) print("byte", unit, byte);
  }
  return 0;
}
