#include "cli/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace vesk::cli {
namespace {

constexpr char32_t kBad = kReplacementCharacter;

std::u32string decodeInChunks(std::string_view bytes, std::size_t chunkSize) {
  Utf8Decoder decoder;
  std::u32string out;
  for (std::size_t pos = 0; pos < bytes.size(); pos += chunkSize) {
    decoder.feed(bytes.substr(pos, chunkSize), out);
  }
  decoder.finish(out);
  return out;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::u32string codePoints;
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class Utf8Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decoding, GivesTheSameCodePointsHoweverCut) {
  for (std::size_t chunkSize : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{64}}) {
    EXPECT_EQ(decodeInChunks(GetParam().bytes, chunkSize), GetParam().codePoints)
        << "chunks of " << chunkSize;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8Decoding,
    ::testing::Values(DecodeCase{"Empty", "", U""}, DecodeCase{"Ascii", "a\r\n\x7f", U"a\r\n\x7f"},
                      DecodeCase{"Nul", std::string(1, '\0'), std::u32string(1, U'\0')},
                      DecodeCase{"TwoByteBounds", "\xc2\x80\xdf\xbf", U"\x80\x7ff"},
                      DecodeCase{"ThreeByteBounds", "\xe0\xa0\x80\xef\xbf\xbf", U"\x800\xffff"},
                      DecodeCase{"FourByteBounds", "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf",
                                 U"\x10000\x10ffff"},
                      DecodeCase{"Kana", "ガｶﾞ", U"ガｶﾞ"},
                      DecodeCase{"StrayContinuation",
                                 "a\x80"
                                 "b",
                                 {U'a', kBad, U'b'}},
                      DecodeCase{"OverlongTwoByte", "\xc0\xaf", {kBad, kBad}},
                      DecodeCase{"OverlongThreeByte", "\xe0\x80\xaf", {kBad, kBad, kBad}},
                      DecodeCase{"OverlongFourByte", "\xf0\x8f\xbf\xbf", {kBad, kBad, kBad, kBad}},
                      DecodeCase{"Surrogate", "\xed\xa0\x80", {kBad, kBad, kBad}},
                      DecodeCase{"LastBeforeSurrogates", "\xed\x9f\xbf", U"\xd7ff"},
                      DecodeCase{"AboveUnicode", "\xf4\x90\x80\x80", {kBad, kBad, kBad, kBad}},
                      DecodeCase{"NeverUsedBytes", "\xf5\xfe\xff", {kBad, kBad, kBad}},
                      DecodeCase{"TruncatedThenAscii",
                                 "\xe3\x81"
                                 "A",
                                 {kBad, U'A'}},
                      DecodeCase{"TruncatedThenLead", "\xe3\xe3\x81\x82", {kBad, U'あ'}},
                      DecodeCase{"TruncatedAtEnd", "a\xf0\x9f\x98", {U'a', kBad}},
                      DecodeCase{"LeadAtEnd", "\xe3", {kBad}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, EncodesEveryLengthAndReadsBack) {
  for (const char32_t codePoint : {U'\0', U'\x7f', U'\x80', U'\x7ff', U'\x800', U'\xd7ff',
                                   U'\xe000', U'\xffff', U'\x10000', U'\x10ffff'}) {
    std::string bytes;
    appendUtf8(codePoint, bytes);
    EXPECT_EQ(decodeInChunks(bytes, 1), std::u32string(1, codePoint))
        << std::hex << static_cast<std::uint32_t>(codePoint);
  }
}

TEST(Utf8, WritesASurrogateAsReplacementCharacter) {
  std::string bytes;
  appendUtf8(0xDC00, bytes);
  EXPECT_EQ(bytes, "\xef\xbf\xbd");
}

}  // namespace
}  // namespace vesk::cli
