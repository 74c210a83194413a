#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cli/chunk_filter.h"
#include "cli/utf8.h"
#include "conversion/convert.h"
#include "cp932/cp932_codec.h"

namespace vesk::cli {
namespace {

std::string runInChunks(Direction direction, bool utf8, std::string_view input,
                        const std::vector<std::size_t>& cuts) {
  const auto pipeline = makeConversionPipeline(direction, utf8);
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
  std::string output;
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

class Utf8Conversion : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Conversion, ConvertsWholeAndByteByByte) {
  const Utf8Case& c = GetParam();
  EXPECT_EQ(runInChunks(c.direction, true, c.input, {}), c.output);
  std::vector<std::size_t> everyByte;
  for (std::size_t i = 1; i < c.input.size(); ++i) everyByte.push_back(i);
  EXPECT_EQ(runInChunks(c.direction, true, c.input, everyByte), c.output);
}

constexpr auto kStandard = Direction::ToStandard;
constexpr auto kLocal = Direction::ToLocal;

INSTANTIATE_TEST_SUITE_P(
    Pipeline, Utf8Conversion,
    ::testing::Values(Utf8Case{"Empty", kLocal, "", ""},
                      Utf8Case{"KatakanaNarrowed", kLocal, "ガイド\r\n", "ｶﾞｲﾄﾞ\r\n"},
                      Utf8Case{"HalfWidthWidened", kStandard, "ｶﾞｲﾄﾞ\r\n", "ガイド\r\n"},
                      Utf8Case{"HiraganaToUserArea", kLocal, "ぁ", "\uE3AD"},
                      Utf8Case{"UserAreaToHiragana", kStandard, "\uE3AD", "ぁ"},
                      Utf8Case{"RootSignToUserArea", kLocal, "√", "\uE016"},
                      Utf8Case{"UserAreaToRootSign", kStandard, "\uE016", "√"},
                      Utf8Case{"LoneLeadByteAtEndIsLastByteRule", kStandard, "a\uF7F0", "a√"},
                      Utf8Case{"BytesOfNoCharacterKept", kLocal, "\uF780x", "\uF780x"},
                      Utf8Case{"InvalidUtf8", kStandard,
                               "a\xff"
                               "b\xe3\x81",
                               "a?b?"},
                      Utf8Case{"NotInCodePage932", kLocal, "é€😀", "???"},
                      Utf8Case{"ByteOrderMarkKept", kStandard, "\uFEFFｱ", "\uFEFFア"},
                      Utf8Case{"ByteOrderMarkAlone", kLocal, "\uFEFF", "\uFEFF"},
                      Utf8Case{"ByteOrderMarkInsideIsACharacter", kLocal, "a\uFEFF", "a?"},
                      Utf8Case{"SecondByteOrderMarkIsACharacter", kLocal, "\uFEFF\uFEFF",
                               "\uFEFF?"}),
    [](const auto& info) { return std::string(info.param.name); });

// The --utf-8 path built from whole-string functions, for comparison.
std::string convertWholeUtf8(Direction direction, std::string_view input) {
  Utf8Decoder decoder;
  std::u32string codePoints;
  decoder.feed(input, codePoints);
  decoder.finish(codePoints);
  std::string out;
  if (!codePoints.empty() && codePoints.front() == 0xFEFF) {
    codePoints.erase(0, 1);
    out = "\xEF\xBB\xBF";
  }
  std::string bytes;
  for (const char32_t codePoint : codePoints) {
    if (!cp932::appendEncoded(codePoint, bytes)) bytes += '?';
  }
  const std::string converted =
      direction == Direction::ToStandard ? ConvertHtoZ(bytes) : ConvertZtoH(bytes);
  for (const char16_t unit : cp932::decode(converted)) appendUtf8(cp932::exchangeForm(unit), out);
  return out;
}

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
    ASSERT_EQ(runInChunks(direction, true, input, randomCuts(random, input.size())),
              convertWholeUtf8(direction, input))
        << "round " << round;
  }
}

}  // namespace
}  // namespace vesk::cli
