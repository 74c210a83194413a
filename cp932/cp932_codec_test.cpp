#include "cp932/cp932_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vesk::cp932 {
namespace {

// One code page 932 string and its UTF-16 text: the text writes as the bytes,
// and when readsBack is set the bytes also read as the text.
struct CodecCase {
  const char* name;
  std::string bytes;
  std::u16string text;
  bool readsBack;
};

void PrintTo(const CodecCase& c, std::ostream* out) { *out << c.name; }

class CodecTest : public ::testing::TestWithParam<CodecCase> {};

TEST_P(CodecTest, WritesAndReads) {
  EXPECT_EQ(encode(GetParam().text), GetParam().bytes);
  if (GetParam().readsBack) {
    EXPECT_EQ(decode(GetParam().bytes), GetParam().text);
  }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cp932, CodecTest,
    ::testing::Values(
        CodecCase{"Empty", "", u"", true},
        CodecCase{"AsciiWithCrLf", "a\\~\r\n", u"a\\~\r\n", true},
        CodecCase{"ControlCodesAreThemselves", "\x1a\x1c\x7f"s, u"\x1a\x1c\x7f", true},
        CodecCase{"Nul", "\0"s, u"\0"s, true}, CodecCase{"Kanji", "\x88\xa4", u"愛", true},
        CodecCase{"RootSignNecCode", "\x87\x95", u"√", true},
        CodecCase{"UserAreaFirst", "\xf0\x40", u"\uE000", true},
        CodecCase{"UserAreaLast", "\xf9\xfc", u"\uE757", true},
        CodecCase{"UserAreaLocalRootSign", "\xf0\x56", u"\uE016", true},
        CodecCase{"UserAreaLastBeforeGap", "\xf0\x7e", u"\uE03E", true},
        CodecCase{"UserAreaFirstAfterGap", "\xf0\x80", u"\uE03F", true},
        CodecCase{"UserAreaSecondLead", "\xf1\x40", u"\uE0BC", true},
        CodecCase{"UserAreaLeadAtEnd", "A\xf0", u"A\uF7F0", true},
        CodecCase{"HalfWidthFirst", "\xa1", u"\uFF61", true},
        CodecCase{"HalfWidthLast", "\xdf", u"\uFF9F", true},
        CodecCase{"HalfWidthLetterAndMark", "\xb6\xde", u"ｶﾞ", true},
        CodecCase{"ByteBeforeHalfWidth", "\x80", u"\uF780", true},
        CodecCase{"ByteAfterHalfWidthGap", "\xa0", u"\uF7A0", true},
        CodecCase{"BytesAboveLastLead", "\xfd\xfe\xff", u"\uF7FD\uF7FE\uF7FF", true},
        CodecCase{"LeadBeforeBadTrail", "\x81\x7f", u"\uF781\x7f", true},
        CodecCase{"LeadBeforeLineFeed", "\x81\n", u"\uF781\n", true},
        CodecCase{"LeadBeforeTrailAboveRange", "\x81\xfd", u"\uF781\uF7FD", true},
        CodecCase{"LeadInUnassignedRow", "\x85\x40", u"\uF785@", true},
        CodecCase{"UnassignedCodeInRow", "\x81\xad", u"\uF781\uFF6D", true},
        CodecCase{"LeadPairsWithNextLead", "\x81\x81\x40", u"＝@", true},
        CodecCase{"LeadAtEnd", "\x83", u"\uF783", true},
        CodecCase{"HalfWidthThenLeadAtEnd", "\xb1\xe0", u"ｱ\uF7E0", true},
        CodecCase{"RootSignJisCodeIsADuplicate", "\x81\xe3", u"\uF000", true},
        CodecCase{"NecSelectedIbmKanjiIsADuplicate", "\xed\x40", u"\uF009", true},
        CodecCase{"LastDuplicate", "\xfa\x5b", u"\uF18D", true},
        CodecCase{"PrivateUseAfterTheDuplicates", "?", u"\uF18E", false},
        CodecCase{"WaveDashStandsInForFullWidthTilde", "\x81\x60", u"\u301C", false},
        CodecCase{"MinusSignStandsInForFullWidthHyphenMinus", "\x81\x7c", u"\u2212", false},
        CodecCase{"YenSignStandsInForBackslash", "\\", u"\u00A5", false},
        CodecCase{"AccentedLetter", "?", u"é", false}, CodecCase{"Euro", "?", u"€", false},
        CodecCase{"EmojiIsOneQuestionMark", "a?b", u"a😀b", false},
        CodecCase{"LoneHighSurrogate", "a?b", u"a\xD800"s + u"b", false},
        CodecCase{"LoneLowSurrogate", "?", u"\xDC00"s, false},
        CodecCase{"HighSurrogateAtEnd", "?", u"\xD83D"s, false},
        CodecCase{"TwoHighSurrogatesThenLow", "??", u"\xD83D\xD83D\xDE00"s, false},
        CodecCase{"BeyondUserArea", "?", u"\uE758", false},
        CodecCase{"ByteCodeOfAsciiIsNotAByte", "?", u"\uF741", false},
        CodecCase{"ByteCodeOfHalfWidthIsNotAByte", "?", u"\uF7B1", false},
        CodecCase{"ByteCodeOfLead", "\x81\xf0", u"\uF781\uF7F0", false},
        CodecCase{"ByteCodesThatFormAPair", "\x88\xfc", u"\uF788\uF7FC", false},
        CodecCase{"PrivateUseOutsideTheTable", "?", u"\uF86F", false},
        CodecCase{"FullWidthTilde", "\x81\x60", u"～", true},
        CodecCase{"NecRomanNumeral", "\x87\x54", u"Ⅰ", true},
        CodecCase{"IbmSmallRomanNumeral", "\xfa\x40", u"ⅰ", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Writing into a caller-sized buffer: the worst cases fill exactly the room
// promised (one unit a byte, two bytes a unit) and nothing goes past it.
// Writing into a caller-sized buffer: the worst cases fill exactly the room
// promised (one unit a byte, two bytes a unit) and nothing goes past it.
struct IntoCase {
  const char* name;
  std::string bytes;
  std::u16string text;
};

void PrintTo(const IntoCase& c, std::ostream* out) { *out << c.name; }

class IntoBuffer : public ::testing::TestWithParam<IntoCase> {};

TEST_P(IntoBuffer, StaysInsideItsRoom) {
  constexpr char kGuard = '\x5a';
  const IntoCase& c = GetParam();
  std::u16string units(c.bytes.size() + 2, kGuard);
  EXPECT_EQ(units.substr(0, decodeInto(c.bytes, units.data())), c.text);
  EXPECT_EQ(units.substr(c.bytes.size()), std::u16string(2, kGuard));
  std::string bytes(2 * c.text.size() + 2, kGuard);
  EXPECT_EQ(bytes.substr(0, encodeInto(c.text, bytes.data())), c.bytes);
  EXPECT_EQ(bytes.substr(2 * c.text.size()), std::string(2, kGuard));
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, IntoBuffer,
    ::testing::Values(IntoCase{"Empty", "", u""},
                      IntoCase{"SingleBytesFillTheUnits", "a\xb1\r\n", u"aｱ\r\n"},
                      IntoCase{"PairsFillTheBytes", "\x82\xa0\xf0\x40", u"あ\uE000"},
                      IntoCase{"NulAndLeadAtTheEnd", std::string("\0\x83", 2),
                               std::u16string(u"\0\uF783", 2)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932, AppendsNothingForWhatHasNoCode) {
  std::string out;
  EXPECT_FALSE(appendEncoded(0x1F600, out));
  EXPECT_FALSE(appendEncoded(0xD800, out));
  EXPECT_FALSE(appendEncoded(0xE9, out));
  EXPECT_TRUE(appendEncoded(0, out));
  EXPECT_TRUE(appendEncoded(0x3042, out));
  EXPECT_EQ(out, "\0\x82\xa0"s);
}

// Random byte strings, heavy in lead bytes, trail bytes and duplicate codes,
// read back byte for byte.
TEST(Cp932, RandomBytesReadBackByteForByte) {
  std::mt19937 random(932);
  const std::string interesting =
      "\x00\x0d\x0a\x41\x7f\x80\x81\x87\x95\xa0\xb1\xde\xe3\xed\xee\xef"
      "\xf0\xf9\xfa\xfc\xfd\xff\x40\xfc"s;
  for (int round = 0; round < 20000; ++round) {
    std::string input(random() % 40, '\0');
    for (char& byte : input) {
      byte = random() % 2 ? interesting[random() % interesting.size()]
                          : static_cast<char>(random() % 256);
    }
    ASSERT_EQ(encode(decode(input)), input) << "round " << round;
  }
}

}  // namespace
}  // namespace vesk::cp932
