#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cli/chunk_filter.h"
#include "cli/text_filters.h"
#include "conversion/convert.h"

namespace vesk::cli {
namespace {

std::string runInChunks(Direction direction, bool utf8, std::string_view input,
                        const std::vector<std::size_t>& cuts, bool replace = false) {
  const auto pipeline = makeConversionPipeline(direction, utf8, replace);
  std::string out;
  std::size_t pos = 0;
  for (const std::size_t cut : cuts) {
    pipeline->feed(input.substr(pos, cut - pos), out);
    pos = cut;
  }
  pipeline->feed(input.substr(pos), out);
  pipeline->finish(out);
  return out;
}

struct Utf8Case {
  const char* name;
  Direction direction;
  std::string input;
  std::string output;  // with --replace; without it, a message
  std::string message = "";
};

std::vector<std::size_t> everyByte(std::string_view input) {
  std::vector<std::size_t> cuts;
  for (std::size_t i = 1; i < input.size(); ++i) cuts.push_back(i);
  return cuts;
}

// What stops the conversion without --replace, or "" when nothing does.
std::string stoppedBy(Direction direction, std::string_view input,
                      const std::vector<std::size_t>& cuts) {
  try {
    runInChunks(direction, true, input, cuts);
    return "";
  } catch (const TextError& error) {
    return error.what();
  }
}

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

class Utf8Conversion : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Conversion, ConvertsWholeAndByteByByte) {
  const Utf8Case& c = GetParam();
  for (const auto& cuts : {std::vector<std::size_t>{}, everyByte(c.input)}) {
    EXPECT_EQ(runInChunks(c.direction, true, c.input, cuts, true), c.output);
    EXPECT_EQ(stoppedBy(c.direction, c.input, cuts), c.message);
  }
}

constexpr auto kStandard = Direction::ToStandard;
constexpr auto kLocal = Direction::ToLocal;

INSTANTIATE_TEST_SUITE_P(
    Pipeline, Utf8Conversion,
    ::testing::Values(
        Utf8Case{"Empty", kLocal, "", ""},
        Utf8Case{"KatakanaNarrowed", kLocal, "ガイド\r\n", "ｶﾞｲﾄﾞ\r\n"},
        Utf8Case{"HalfWidthWidened", kStandard, "ｶﾞｲﾄﾞ\r\n", "ガイド\r\n"},
        Utf8Case{"HiraganaToUserArea", kLocal, "ぁ", "\uE3AD"},
        Utf8Case{"UserAreaToHiragana", kStandard, "\uE3AD", "ぁ"},
        Utf8Case{"RootSignToUserArea", kLocal, "√", "\uE016"},
        Utf8Case{"UserAreaToRootSign", kStandard, "\uE016", "√"},
        Utf8Case{"LoneLeadByteAtEndIsLastByteRule", kStandard, "a\uF7F0", "a√"},
        Utf8Case{"BytesOfNoCharacterKept", kLocal, "\uF780x", "\uF780x"},
        Utf8Case{"StandInTakenAsItsSymbol", kLocal, "〜−", "\uE0DD\uE0D9"},
        Utf8Case{"DuplicateWrittenAsItsCharacter", kStandard, "\uF000", "√"},
        Utf8Case{"ByteOrderMarkKept", kStandard, "\uFEFFｱ", "\uFEFFア"},
        Utf8Case{"ByteOrderMarkAlone", kLocal, "\uFEFF", "\uFEFF"},
        Utf8Case{"NotUtf8", kStandard, "a\r\nb\xff", "a\r\nb?",
                 "line 2, column 2: not UTF-8: byte FF (--replace writes '?')"},
        Utf8Case{"UnfinishedAtTheEnd", kStandard, "ab\xe3\x81", "ab?",
                 "line 1, column 3: not UTF-8: bytes E3 81 (--replace writes '?')"},
        Utf8Case{"NotInCodePage932", kLocal, "あ\né€😀", "\uE3AE\n???",
                 "line 2, column 1: U+00E9 has no code in code page 932 (--replace writes '?')"},
        Utf8Case{"ByteOrderMarkInsideIsACharacter", kLocal, "a\uFEFF", "a?",
                 "line 1, column 2: U+FEFF has no code in code page 932 (--replace writes '?')"}),
    [](const auto& info) { return std::string(info.param.name); });

// UTF-8 rich in what streaming can get wrong: lead bytes, marks after kana,
// multi-byte sequences, CR LF, invalid sequences.
std::string randomUtf8Text(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      "a",      "\r",     "\n",     "\r\n",   "ｶ",      "ﾞ",  "ﾟ", "ガ",   "ア",       "あ",    "√",
      "\uE016", "\uE3AD", "\uF781", "\uF7F0", "\uF780", "愛", "😀", "\xff", "\xe3\x81", "\uFEFF"};
  std::string text;
  const std::size_t length = random() % 200;
  for (std::size_t i = 0; i < length; ++i) {
    text += pieces[random() % pieces.size()];
  }
  return text;
}

std::vector<std::size_t> randomCuts(std::mt19937& random, std::size_t size) {
  std::vector<std::size_t> cuts;
  for (std::size_t pos = 0; size > 0;) {
    pos += 1 + random() % 7;
    if (pos >= size) break;
    cuts.push_back(pos);
  }
  return cuts;
}

TEST(Pipeline, Utf8InChunksEqualsWholeConversion) {
  std::mt19937 random(20);
  for (int round = 0; round < 3000; ++round) {
    const std::string input = randomUtf8Text(random);
    const auto direction = round % 2 ? kLocal : kStandard;
    ASSERT_EQ(runInChunks(direction, true, input, randomCuts(random, input.size()), true),
              runInChunks(direction, true, input, {}, true))
        << "round " << round;
  }
}

}  // namespace
}  // namespace vesk::cli
