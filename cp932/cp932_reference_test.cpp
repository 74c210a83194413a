// Every one- and two-byte sequence and every UTF-16 unit, against ICU, and
// the stand-ins against glibc.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cp932/cp932_codec.h"
#include "cp932/testing/reference_converters.h"

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

// The code ICU writes a unit as, but the root sign as the local tables' code.
std::optional<std::string> firstCode(const IcuWindows31j& icu, char16_t unit) {
  return unit == testing::kRootSign ? testing::kRootSignCode : icu.encode(unit);
}

// The codes whose character writes as another code, in code order; each
// reads as a private-use character of its own from U+F000 on.
std::vector<std::string> duplicateCodes(const IcuWindows31j& icu) {
  std::vector<std::string> duplicates;
  for (unsigned lead = 0x81; lead < 0x100; ++lead) {
    for (unsigned trail = 0x40; trail < 0x100; ++trail) {
      const std::string code = bytesOf(lead, trail);
      const auto unit = icu.decodeWhole(code);
      if (unit && firstCode(icu, *unit) != code) duplicates.push_back(code);
    }
  }
  return duplicates;
}

constexpr char16_t kDuplicateBase = 0xF000;

TEST(Cp932AgainstIcu, EveryPairOfBytes) {
  const IcuWindows31j icu;
  ASSERT_TRUE(icu.ok());
  const std::vector<std::string> duplicates = duplicateCodes(icu);
  EXPECT_EQ(duplicates.size(), 398u);
  int mismatches = 0;
  for (unsigned lead = 0; lead < 256; ++lead) {
    for (unsigned trail = 0; trail < 256; ++trail) {
      const std::string input = bytesOf(lead, trail);
      // A pair is one character when ICU reads both bytes as one; otherwise
      // each byte reads on its own. A duplicate code has its own character,
      // which others know as ICU's.
      const auto whole = icu.decodeWhole(input);
      const auto duplicate = std::find(duplicates.begin(), duplicates.end(), input);
      std::u16string expected =
          whole ? std::u16string(1, *whole)
                : std::u16string{expectedSingle(icu, static_cast<unsigned char>(lead)),
                                 expectedSingle(icu, static_cast<unsigned char>(trail))};
      if (duplicate != duplicates.end()) {
        expected = std::u16string(
            1, static_cast<char16_t>(kDuplicateBase + (duplicate - duplicates.begin())));
      }
      const std::u16string actual = decode(input);
      const bool exchangeMatches =
          !whole || (actual.size() == 1 && exchangeForm(actual[0]) == *whole);
      if ((actual != expected || !exchangeMatches) && ++mismatches <= 10) {
        ADD_FAILURE() << "bytes " << std::hex << lead << ' ' << trail;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Cp932AgainstIcu, EveryUtf16Unit) {
  const IcuWindows31j icu;
  ASSERT_TRUE(icu.ok());
  const std::vector<std::string> duplicates = duplicateCodes(icu);
  int mismatches = 0;
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const auto u = static_cast<char16_t>(unit);
    std::string expected;
    if (unit < 0x80) {
      expected = std::string(1, static_cast<char>(unit));
    } else if (unit >= kDuplicateBase && unit < kDuplicateBase + duplicates.size()) {
      expected = duplicates[unit - kDuplicateBase];
    } else if (unit >= 0xF780 && unit <= 0xF7FF &&
               expectedSingle(icu, static_cast<unsigned char>(unit - 0xF700)) == u) {
      expected = std::string(1, static_cast<char>(unit - 0xF700));
    } else if (const auto written = firstCode(icu, u); written) {
      // Only codes that read back as the unit count: ICU also writes a few
      // private-use units (U+F86F) as codes that read as another character.
      expected = icu.decodeWhole(*written) == u ? *written : "?";
    } else {
      // A stand-in: what glibc writes for a character ICU has no code for.
      expected = testing::glibcEncode(u).value_or("?");
    }
    if (encode(std::u16string(1, u)) != expected && ++mismatches <= 10) {
      ADD_FAILURE() << "U+" << std::hex << unit;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace vesk::cp932
