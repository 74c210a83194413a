// Every one- and two-byte sequence and every UTF-16 unit, against ICU.

#include <gtest/gtest.h>

#include <string>

#include "cp932/cp932_codec.h"
#include "cp932/icu_windows31j.h"

namespace vesk::cp932 {
namespace {

using testing::expectedSingle;
using testing::IcuWindows31j;

std::string bytesOf(unsigned first, unsigned second) {
  return {static_cast<char>(first), static_cast<char>(second)};
}

TEST(Cp932AgainstIcu, EverySingleByte) {
  const IcuWindows31j icu;
  ASSERT_TRUE(icu.ok());
  for (unsigned byte = 0; byte < 256; ++byte) {
    const std::string input(1, static_cast<char>(byte));
    EXPECT_EQ(decode(input),
              std::u16string(1, expectedSingle(icu, static_cast<unsigned char>(byte))))
        << "byte " << std::hex << byte;
  }
}

TEST(Cp932AgainstIcu, EveryPairOfBytes) {
  const IcuWindows31j icu;
  ASSERT_TRUE(icu.ok());
  int mismatches = 0;
  for (unsigned lead = 0; lead < 256; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      const std::string input = bytesOf(lead, trail);
      // A pair is one character when ICU reads both bytes as one; otherwise
      // each byte reads on its own.
      const auto whole = icu.decodeWhole(input);
      const std::u16string expected =
          whole ? std::u16string(1, *whole)
                : std::u16string{expectedSingle(icu, static_cast<unsigned char>(lead)),
                                 expectedSingle(icu, static_cast<unsigned char>(trail))};
      if (decode(input) != expected && ++mismatches <= 10) {
        ADD_FAILURE() << "bytes " << std::hex << lead << ' ' << trail;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Cp932AgainstIcu, EveryUtf16Unit) {
  const IcuWindows31j icu;
  ASSERT_TRUE(icu.ok());
  int mismatches = 0;
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const auto u = static_cast<char16_t>(unit);
    std::string expected;
    if (u == testing::kRootSign) {
      expected = testing::kRootSignCode;
    } else if (unit < 0x80) {
      expected = std::string(1, static_cast<char>(unit));
    } else if (unit >= 0xF780 && unit <= 0xF7FF &&
               expectedSingle(icu, static_cast<unsigned char>(unit - 0xF700)) == u) {
      expected = std::string(1, static_cast<char>(unit - 0xF700));
    } else {
      // Only codes that read back as the unit count: ICU also writes a few
      // private-use units (U+F86F) as codes that read as another character.
      const auto written = icu.encode(u);
      expected = written && icu.decodeWhole(*written) == u ? *written : "?";
    }
    if (encode(std::u16string(1, u)) != expected && ++mismatches <= 10) {
      ADD_FAILURE() << "U+" << std::hex << unit;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace vesk::cp932
