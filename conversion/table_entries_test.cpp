// Every entry of the code tables through both conversions, in the middle of
// text and at its end.

#include <gtest/gtest.h>

#include <string>

#include "conversion/code_table.h"
#include "conversion/code_tables.h"
#include "conversion/convert.h"
#include "conversion/testing/hex_bytes.h"

namespace vesk {
namespace {

using namespace tables;
using testing::hexBytes;

std::string str(std::string_view bytes) { return std::string(bytes); }

// The standard form of half-width letter n followed by a mark.
std::string markedStandard(const CodeTable& markedForms, int n, std::string_view wideMark) {
  const std::string plain = str(entryAt(ZenkakuKana, n));
  const std::string marked = str(entryAt(markedForms, n));
  return marked != plain ? marked : plain + str(wideMark);
}

TEST(EveryKanaEntry, WidensAloneAndWithEachMark) {
  for (int n = 1; n <= HankakuKana.size(); ++n) {
    const std::string letter = str(entryAt(HankakuKana, n));
    const std::string plain = str(entryAt(ZenkakuKana, n));
    SCOPED_TRACE("entry " + std::to_string(n));
    EXPECT_EQ(hexBytes(ConvertHtoZ(letter + "A")), hexBytes(plain + "A"));
    EXPECT_EQ(hexBytes(ConvertHtoZ(letter)), hexBytes(plain));
    EXPECT_EQ(hexBytes(ConvertHtoZ(letter + kVoicedMark)),
              hexBytes(markedStandard(ZenkakuDakuon, n, kWideVoicedMark)));
    EXPECT_EQ(hexBytes(ConvertHtoZ(letter + kSemiVoicedMark)),
              hexBytes(markedStandard(ZenkakuHandakuon, n, kWideSemiVoicedMark)));
  }
}

TEST(EveryKanaEntry, NarrowsEachForm) {
  for (int n = 1; n <= ZenkakuKana.size(); ++n) {
    const std::string letter = str(entryAt(HankakuKana, n));
    SCOPED_TRACE("entry " + std::to_string(n));
    EXPECT_EQ(hexBytes(ConvertZtoH(str(entryAt(ZenkakuKana, n)) + "A")), hexBytes(letter + "A"));
    if (entryAt(ZenkakuDakuon, n) != entryAt(ZenkakuKana, n)) {
      EXPECT_EQ(hexBytes(ConvertZtoH(str(entryAt(ZenkakuDakuon, n)))),
                hexBytes(letter + kVoicedMark));
    }
    if (entryAt(ZenkakuHandakuon, n) != entryAt(ZenkakuKana, n)) {
      EXPECT_EQ(hexBytes(ConvertZtoH(str(entryAt(ZenkakuHandakuon, n)))),
                hexBytes(letter + kSemiVoicedMark));
    }
  }
}

TEST(EveryLocalCode, BecomesItsStandardCodeAndBack) {
  const std::string comma = "\x81\x41";
  for (int n = 1; n <= LocalCodes.size(); ++n) {
    const std::string local = str(entryAt(LocalCodes, n));
    const std::string standard = str(entryAt(StandardCodes, n));
    SCOPED_TRACE("entry " + std::to_string(n));
    EXPECT_EQ(hexBytes(ConvertHtoZ(local + "\r\n")), hexBytes(standard + "\r\n"));
    // The comma is a kana letter first, so it comes back half-width.
    const std::string back = standard == comma ? "\xA4" : local;
    EXPECT_EQ(hexBytes(ConvertZtoH(standard)), hexBytes(back));
  }
}

}  // namespace
}  // namespace vesk
