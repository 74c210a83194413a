// Every kernel this processor runs, the rules among them, against the literal
// reference conversions: on every short input, every pair of bytes at every
// place of a block, and many random texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/testing/hex_bytes.h"
#include "conversion/testing/kernel_runs.h"
#include "conversion/testing/random_text.h"
#include "conversion/testing/reference_conversion.h"

namespace vesk {
namespace {

using testing::hexBytes;

using testing::KernelRow;
using testing::rowName;

std::string repeated(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

class AgreesWithReference : public ::testing::TestWithParam<KernelRow> {
 protected:
  // Counts disagreements and reports the first few, so that one broken table
  // row does not flood the output.
  void check(const std::string& input) {
    const Direction direction = GetParam().direction;
    const std::string expected = direction == Direction::ToStandard ? reference::convertHtoZ(input)
                                                                    : reference::convertZtoH(input);
    const std::string actual = testing::convertWith(*GetParam().kernel, direction, input);
    if (actual != expected && ++failures_ <= 5) {
      // A long text is shown around the first output byte that differs.
      const std::size_t at = static_cast<std::size_t>(
          std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
          actual.begin());
      const std::size_t from = at < 40 ? 0 : at - 40;
      ADD_FAILURE() << input.size() << " input bytes [" << hexBytes(input.substr(0, 400))
                    << (input.size() > 400 ? " ..." : "") << "]\noutput from byte " << from
                    << ": kernel [" << hexBytes(actual.substr(from, 80)) << "], reference ["
                    << hexBytes(expected.substr(from, 80)) << "]";
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

// Every pair of bytes inside long texts, three bytes apart: over the 64
// shifts each pair stands at every place of a 64-byte block.
TEST_P(AgreesWithReference, OnEveryPairAtEveryPlaceOfABlock) {
  std::string pairs;
  for (unsigned first = 0; first < 256; ++first) {
    for (unsigned second = 0; second < 256; ++second) {
      pairs += {static_cast<char>(first), static_cast<char>(second), 'A'};
    }
  }
  for (std::size_t shift = 0; shift < 64; ++shift) check(std::string(shift, 'a') + pairs);
}

TEST_P(AgreesWithReference, OnEveryThreeInterestingBytes) {
  const auto& bytes = testing::interestingBytes();
  for (char a : bytes) {
    for (char b : bytes) {
      for (char c : bytes) check(std::string{a, b, c});
    }
  }
}

TEST_P(AgreesWithReference, OnManyRandomTexts) {
  testing::RandomText texts(20261206);
  for (int i = 0; i < VESKTEXT_RANDOM_TEXTS; ++i) check(texts.next(8));
}

// Long texts, and texts of the bytes where the rules meet, one to four
// blocks long.
TEST_P(AgreesWithReference, OnLongAndDenseRandomTexts) {
  testing::RandomText texts(7);
  for (int i = 0; i < 20; ++i) check(texts.next(6000) + std::string(300, 'a') + texts.next(50));
  const auto& bytes = testing::interestingBytes();
  std::mt19937 random(65);
  for (int i = 0; i < VESKTEXT_RANDOM_TEXTS / 50; ++i) {
    std::string text(std::uniform_int_distribution<std::size_t>(60, 260)(random), '\0');
    for (char& byte : text) byte = bytes[random() % bytes.size()];
    check(text);
  }
}

// Runs of leads, letters and marks long enough to cross blocks, at every
// offset: where a unit starts must carry over from block to block. Then
// pairs that start at the last byte of the engine's 8 KiB output pieces.
TEST_P(AgreesWithReference, OnRunsAcrossBlocksAndPieces) {
  const std::string runs[] = {
      repeated("\x88", 150),        repeated("\xDE", 150),        repeated("\xB6", 150),
      repeated("\xB6\xDE", 75),     repeated("\xB6\xDE\xDE", 50), repeated("\x83\x4B", 75),
      repeated("\x7F\x41", 75),     repeated("\xF5\x41", 75),     repeated("\xB3\xDF\x41", 50),
      repeated("\xB1\xDE", 75),     repeated("\xB1\xDF\xDE", 50), repeated("\x83\x94", 75),
      repeated("\x82\xA0\x41", 50),
  };
  for (std::size_t offset = 0; offset < 130; ++offset) {
    for (const std::string& run : runs) check(std::string(offset, 'a') + run + "A\xB6");
  }
  for (std::string_view pair : {"\x88\x41", "\xF5\x41", "\xB6\xDE", "\xB1\xDE", "\x83\x94"}) {
    for (std::size_t shift = 0; shift < 4; ++shift) {
      check(std::string(shift, 'a') + repeated(pair, 4200) + "\xB6");
    }
  }
}

// Output room of many megabytes takes the path that asks for huge pages.
TEST_P(AgreesWithReference, OnATextOfManyMegabytes) {
  testing::RandomText texts(9);
  std::string text;
  while (text.size() < (std::size_t{3} << 20)) text += texts.next(1000);
  check(text);
}

INSTANTIATE_TEST_SUITE_P(EveryKernel, AgreesWithReference,
                         ::testing::ValuesIn(testing::everyKernelRow()),
                         [](const auto& info) { return rowName(info.param); });

}  // namespace
}  // namespace vesk
