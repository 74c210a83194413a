#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cli/chunk_filter.h"
#include "cli/text_filters.h"
#include "cli/utf8.h"
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

// What the path writes when its stages run one after another over the whole
// text, none of them skipped: the message of what stops it, or the output.
std::string stagesInTurn(Direction direction, std::string_view input, bool replace) {
  std::string encoded;
  std::string converted;
  std::string out;
  Utf8ToCp932 encoder(replace);
  try {
    encoder.feed(input, encoded);
    encoder.finish(encoded);
  } catch (const TextError& error) {
    return error.what();
  }
  StreamConverter conversion(direction);
  conversion.feed(encoded, converted);
  conversion.finish(converted);
  Cp932ToUtf8 decoder;
  if (encoder.sawByteOrderMark()) out = "\xEF\xBB\xBF";
  decoder.feed(converted, out);
  decoder.finish(out);
  return out;
}

std::string pathInChunks(Direction direction, std::string_view input,
                         const std::vector<std::size_t>& cuts, bool replace) {
  try {
    return runInChunks(direction, true, input, cuts, replace);
  } catch (const TextError& error) {
    return error.what();
  }
}

// UTF-8 rich in what streaming and the characters that skip the stages can
// get wrong: half-width letters before marks and before other characters,
// single bytes that take the next character's byte (0x80, half-width
// punctuation, lone marks, lead bytes alone), trail bytes above 0x7E, ASCII
// words, 0x7F, duplicates, glibc's stand-ins, two-byte UTF-8, and what is not
// UTF-8 or has no code.
std::string randomUtf8Text(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      // ASCII, 0x7F, line ends
      "a", "abcdefghij", "\x7f", "\r", "\n", "\r\n",
      // half-width letters and marks, half-width punctuation
      "ｶ", "ﾊ", "ﾞ", "ﾟ", "｡", "｢",
      // two-byte codes, some with trail bytes that lead codes (奄 8982, 宴 8983)
      "ガ", "ア", "ミ", "あ", "ぱ", "、", "√", "〜", "¬", "α", "Ж", "本", "愛", "奄", "宴",
      // local codes, a duplicate, bytes of no character of their own
      "\uE016", "\uE3AD", "\uF000", "\uF780", "\uF781", "\uF7A0", "\uF7F0",
      // not UTF-8, or no code
      "\xff", "\xe3\x81", "\xe0\x80\xaf", "\xed\xa0\x80", "😀", "é", "\uFEFF"};
  std::string text;
  const std::size_t length = random() % 300;
  for (std::size_t i = 0; i < length; ++i) {
    text += pieces[random() % pieces.size()];
  }
  return text;
}

std::vector<std::size_t> randomCuts(std::mt19937& random, std::size_t size) {
  std::vector<std::size_t> cuts;
  for (std::size_t pos = 0; size > 0;) {
    pos += 1 + random() % 40;
    if (pos >= size) break;
    cuts.push_back(pos);
  }
  return cuts;
}

TEST(Pipeline, Utf8PathInChunksEqualsItsStagesInTurn) {
  std::mt19937 random(20);
  for (int round = 0; round < 4000; ++round) {
    const std::string input = randomUtf8Text(random);
    const auto direction = round % 2 ? kLocal : kStandard;
    const bool replace = round % 4 < 2;
    ASSERT_EQ(pathInChunks(direction, input, randomCuts(random, input.size()), replace),
              stagesInTurn(direction, input, replace))
        << "round " << round;
  }
}

// Half-width punctuation before a run of characters whose trail bytes each
// take the next lead byte: units straddle characters to the end of the text.
TEST(Pipeline, Utf8PathTakesALongStraddle) {
  std::string input = "｡";
  for (int i = 0; i < 3000; ++i) input += "愛";
  for (const Direction direction : {kStandard, kLocal}) {
    EXPECT_EQ(pathInChunks(direction, input, {}, true), stagesInTurn(direction, input, true));
  }
}

// Every character of the Basic Multilingual Plane, on its own, after itself,
// before ASCII, after a half-width letter and after a byte that takes the
// next character's first byte.
TEST(Pipeline, Utf8PathGivesEveryCharacterAsItsStages) {
  std::string input;
  for (char32_t unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    char bytes[4];
    const std::string character(bytes, writeUtf8(unit, bytes));
    input += character + character + "a" + "ｶ" + character + "｡" + character + "\n";
  }
  for (const Direction direction : {kStandard, kLocal}) {
    EXPECT_EQ(pathInChunks(direction, input, {}, true), stagesInTurn(direction, input, true));
  }
}
}  // namespace
}  // namespace vesk::cli
