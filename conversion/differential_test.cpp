// The engine against the plain reference conversions on every short input
// and on many random ones.

#include <gtest/gtest.h>

#include <string>

#include "conversion/convert.h"
#include "conversion/testing/hex_bytes.h"
#include "conversion/testing/random_text.h"
#include "conversion/testing/reference_conversion.h"

namespace vesk {
namespace {

using testing::hexBytes;

struct Conversion {
  const char* name;
  std::string (*engine)(std::string_view);
  std::string (*reference)(std::string_view);
};

void PrintTo(const Conversion& row, std::ostream* os) { *os << row.name; }

class AgreesWithReference : public ::testing::TestWithParam<Conversion> {
 protected:
  // Counts disagreements and reports the first few, so that one broken table
  // row does not flood the output.
  void check(const std::string& input) {
    const std::string expected = GetParam().reference(input);
    const std::string actual = GetParam().engine(input);
    if (actual != expected && ++failures_ <= 5) {
      ADD_FAILURE() << "input [" << hexBytes(input) << "]: engine [" << hexBytes(actual)
                    << "], reference [" << hexBytes(expected) << "]";
    }
  }
  void TearDown() override { EXPECT_EQ(failures_, 0); }

 private:
  int failures_ = 0;
};

TEST_P(AgreesWithReference, OnEveryInputOfOneAndTwoBytes) {
  for (unsigned first = 0; first < 256; ++first) {
    check(std::string(1, static_cast<char>(first)));
    for (unsigned second = 0; second < 256; ++second) {
      check(std::string{static_cast<char>(first), static_cast<char>(second)});
    }
  }
}

TEST_P(AgreesWithReference, OnEveryThreeInterestingBytes) {
  const auto& bytes = testing::interestingBytes();
  for (char a : bytes) {
    for (char b : bytes) {
      for (char c : bytes) check(std::string{a, b, c});
    }
  }
}

TEST_P(AgreesWithReference, OnAMillionRandomTexts) {
  testing::RandomText texts(20261206);
  for (int i = 0; i < 1'000'000; ++i) check(texts.next(8));
}

// Long texts take the engine through its block and word-at-a-time paths.
TEST_P(AgreesWithReference, OnLongRandomTexts) {
  testing::RandomText texts(7);
  for (int i = 0; i < 20; ++i) check(texts.next(6000) + std::string(300, 'a') + texts.next(50));
}

const Conversion kConversions[] = {
    {"ConvertHtoZ", &ConvertHtoZ, &reference::convertHtoZ},
    {"ConvertZtoH", &ConvertZtoH, &reference::convertZtoH},
};
INSTANTIATE_TEST_SUITE_P(BothDirections, AgreesWithReference, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk
