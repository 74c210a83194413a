// The block form of "where do the two-byte units start" against a byte-by-byte scan.

#include "conversion/kernels/unit_starts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace vesk::detail {
namespace {

// The plain scan the word operations replace.
std::uint64_t scanTwoByteStarts(std::uint64_t takesNext) {
  std::uint64_t starts = 0;
  for (unsigned at = 0; at < 64;) {
    if ((takesNext >> at & 1) != 0) {
      starts |= std::uint64_t{1} << at;
      at += 2;
    } else {
      at += 1;
    }
  }
  return starts;
}

struct StartsCase {
  const char* name;
  std::uint64_t takesNext;
  std::uint64_t starts;
};

constexpr StartsCase kCases[] = {
    {"none", 0, 0},
    {"pair_of_leads_takes_one", 0b11, 0b01},
    {"three_leads_from_even", 0b111, 0b101},
    {"two_leads_from_odd", 0b110, 0b010},
    {"runs_of_both_parities", 0b0111'0110, 0b0101'0010},
    {"every_byte", ~std::uint64_t{0}, 0x5555555555555555},
    {"last_byte_alone", std::uint64_t{1} << 63, std::uint64_t{1} << 63},
    {"run_into_the_last_byte_from_odd", std::uint64_t{0b111} << 61, std::uint64_t{0b101} << 61},
};

TEST(TwoByteUnitStarts, AreThoseOfAScanFromByteZero) {
  for (const StartsCase& row : kCases) {
    EXPECT_EQ(twoByteUnitStarts(row.takesNext), row.starts) << row.name;
  }
}

// Dense and sparse random masks: long runs and isolated leads.
TEST(TwoByteUnitStarts, AgreeWithTheScanOnRandomMasks) {
  std::mt19937_64 random(64);
  for (int i = 0; i < 100'000; ++i) {
    const std::uint64_t a = random(), b = random();
    for (std::uint64_t mask : {a, a | b, a & b}) {
      ASSERT_EQ(twoByteUnitStarts(mask), scanTwoByteStarts(mask)) << std::hex << mask;
    }
  }
}

}  // namespace
}  // namespace vesk::detail
