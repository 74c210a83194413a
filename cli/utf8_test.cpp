#include "cli/utf8.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vesk::cli {
namespace {

// The sequences of a whole text, one word each: the code point in hex, "bad"
// and the bytes it spans, or "cut" and the bytes present.
std::string sequences(std::string_view text) {
  std::string words;
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Sequence sequence = readUtf8(text, pos);
    char word[16];
    if (sequence.kind == Utf8Sequence::Kind::Valid) {
      std::snprintf(word, sizeof word, " %X", static_cast<unsigned>(sequence.codePoint));
    } else {
      std::snprintf(word, sizeof word, " %s%zu",
                    sequence.kind == Utf8Sequence::Kind::Invalid ? "bad" : "cut", sequence.length);
    }
    words += word;
    pos += sequence.length;
  }
  return words;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  const char* sequences;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class Utf8Reading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Utf8Reading, SplitsIntoSequences) {
  EXPECT_EQ(sequences(GetParam().bytes), GetParam().sequences);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8Reading,
    ::testing::Values(ReadCase{"Ascii", std::string("a\r\0\x7f", 4), " 61 D 0 7F"},
                      ReadCase{"TwoByteBounds", "\xc2\x80\xdf\xbf", " 80 7FF"},
                      ReadCase{"ThreeByteBounds", "\xe0\xa0\x80\xef\xbf\xbf", " 800 FFFF"},
                      ReadCase{"FourByteBounds", "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf",
                               " 10000 10FFFF"},
                      ReadCase{"StrayContinuation", "a\x80", " 61 bad1"},
                      ReadCase{"OverlongTwoByte", "\xc0\xaf", " bad1 bad1"},
                      ReadCase{"OverlongThreeByte", "\xe0\x80\xaf", " bad1 bad1 bad1"},
                      ReadCase{"OverlongFourByte", "\xf0\x8f\xbf\xbf", " bad1 bad1 bad1 bad1"},
                      ReadCase{"Surrogate", "\xed\xa0\x80", " bad1 bad1 bad1"},
                      ReadCase{"LastBeforeSurrogates", "\xed\x9f\xbf", " D7FF"},
                      ReadCase{"AboveUnicode", "\xf4\x90\x80\x80", " bad1 bad1 bad1 bad1"},
                      ReadCase{"NeverUsedBytes", "\xf5\xfe\xff", " bad1 bad1 bad1"},
                      ReadCase{"BrokenOffByAscii",
                               "\xe3\x81"
                               "A",
                               " bad2 41"},
                      ReadCase{"BrokenOffByALead", "\xf0\x9f\x98\xe3\x81\x82", " bad3 3042"},
                      ReadCase{"UnfinishedAtTheEnd", "a\xf0\x9f\x98", " 61 cut3"},
                      ReadCase{"LeadAtTheEnd", "\xe3", " cut1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, WritesEveryLengthAndReadsBack) {
  for (const char32_t codePoint : {U'\0', U'\x7f', U'\x80', U'\x7ff', U'\x800', U'\xd7ff',
                                   U'\xe000', U'\xffff', U'\x10000', U'\x10ffff'}) {
    char bytes[4];
    const std::string_view written(bytes,
                                   static_cast<std::size_t>(writeUtf8(codePoint, bytes) - bytes));
    const Utf8Sequence sequence = readUtf8(written, 0);
    EXPECT_EQ(sequence.kind, Utf8Sequence::Kind::Valid);
    EXPECT_EQ(sequence.codePoint, codePoint);
    EXPECT_EQ(sequence.length, written.size());
  }
}

}  // namespace
}  // namespace vesk::cli
