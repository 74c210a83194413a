#include "cli/code_set_guess.h"

#include <gtest/gtest.h>

#include "conversion/convert.h"
#include "cp932/cp932_codec.h"

namespace vesk::cli {
namespace {

CodeSetEvidence scan(std::string_view bytes, std::size_t chunkSize) {
  CodeSetScanner scanner;
  for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
    scanner.feed(bytes.substr(at, chunkSize));
  }
  return scanner.finish();
}

std::string_view verdict(std::string_view bytes) {
  return codeSetName(guessCodeSet(scan(bytes, bytes.size() + 1)).codeSet);
}

struct GuessCase {
  const char* name;
  std::string_view bytes;
  std::string_view codeSet;
};

class GuessesTinyInput : public ::testing::TestWithParam<GuessCase> {};

TEST_P(GuessesTinyInput, FromItsEvidence) {
  EXPECT_EQ(verdict(GetParam().bytes), GetParam().codeSet);
}

INSTANTIATE_TEST_SUITE_P(
    CodeSetGuess, GuessesTinyInput,
    ::testing::Values(GuessCase{"Empty", "", "ascii"}, GuessCase{"Ascii", "a\r\n\x7f", "ascii"},
                      GuessCase{"HalfWidthLetter", "\xb1", "local"},
                      GuessCase{"LocalHiragana", "\xf5\x41", "local"},
                      GuessCase{"StandardHiragana", "\x82\xa0", "standard"},
                      GuessCase{"HalfWidthBesideHiragana", "\xc3\xde\xb0\xc0\x82\xf0", "standard"},
                      GuessCase{"LocalMajority", "\xf5\x41\x82\xa0\xf5\x41", "local"},
                      GuessCase{"EvenMix", "\xf5\x41\x82\xa0", "unknown"},
                      GuessCase{"VuKeptByBoth", "\x83\x94", "unknown"},
                      GuessCase{"KanjiOnly", "\x88\xa4", "unknown"},
                      GuessCase{"LeadAtEnd", "\x82\xa0\x88", "unknown"},
                      GuessCase{"LeadWithoutTrail", "\x88\x20", "unknown"},
                      GuessCase{"Utf8ThatIsAlsoKana", "\xc2\xb1", "unknown"},
                      GuessCase{"Utf16", std::string_view("B0\n\0", 4), "unknown"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodeSetGuess, GeneratedTextsInBothCodeSets) {
  const std::string standard = cp932::encode(
      u"「ヴァイオリン」の練習は、毎日かかさず続けています。\r\n"
      u"データ処理ツール、バージョン２。\r\n");
  const std::string local = ConvertZtoH(standard);
  EXPECT_EQ(verdict(standard), "standard");
  EXPECT_EQ(verdict(local), "local");
  EXPECT_EQ(verdict(ConvertHtoZ(local)), "standard");
}

TEST(CodeSetGuess, EvidenceIsTheSameHoweverTheInputIsCut) {
  // UTF-8 until the local text begins, a kana and its mark, two-byte codes
  // and a lead byte at the end, each cut apart by some chunk size.
  const std::string local = ConvertZtoH(cp932::encode(u"ガイドがある"));
  const std::string text = "\xe3\x81\x82" + local + "\x88";
  const CodeSetEvidence whole = scan(text, text.size());
  for (std::size_t size = 1; size < 6; ++size) EXPECT_EQ(scan(text, size), whole) << size;
  EXPECT_EQ(guessCodeSet(whole).evidence, "bytes not Shift_JIS: 1, the first at offset 14");
  EXPECT_EQ(guessCodeSet(scan(local, 4)).evidence,
            "local codes F040-F9FC: 3, half-width kana: 5, separate marks: 2, "
            "hiragana and katakana at standard codes: 0");
}

}  // namespace
}  // namespace vesk::cli
