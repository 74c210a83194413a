#include "cli/text_position.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vesk::cli {
namespace {

struct PositionCase {
  const char* name;
  std::vector<std::string> pieces;  // advanced over, one after another
  std::string text;                 // the piece the place is in
  std::size_t offset;
  const char* place;
};

void PrintTo(const PositionCase& c, std::ostream* out) { *out << c.name; }

class Position : public ::testing::TestWithParam<PositionCase> {};

TEST_P(Position, CountsLinesAndCharacters) {
  const PositionCase& c = GetParam();
  TextPosition position;
  for (const std::string& piece : c.pieces) position.advance(piece);
  EXPECT_EQ(position.describe(c.text, c.offset), c.place);
}

// Pieces longer than a word of eight bytes, with line feeds and characters
// of several bytes at every place of a word and across words.
INSTANTIATE_TEST_SUITE_P(
    Pieces, Position,
    ::testing::Values(
        PositionCase{"Start", {}, "abc", 0, "line 1, column 1"},
        PositionCase{"WithinTheFirstPiece", {}, "abcdefghijk", 10, "line 1, column 11"},
        PositionCase{"AfterPieces", {"abcdefghij", "kl"}, "mn", 1, "line 1, column 14"},
        PositionCase{"LineFeedLastOfAWord", {"abcdefg\n"}, "x", 0, "line 2, column 1"},
        PositionCase{"LineFeedFirstOfAWord", {"abcdefgh\nijklmnop"}, "", 0, "line 2, column 9"},
        PositionCase{
            "LineFeedsInEveryWord", {"a\nbcdefg\nhijklm\nnopqrst\nuv"}, "", 0, "line 5, column 3"},
        PositionCase{"LineFeedsInTheTail", {"abcdefghij\n\nk"}, "", 0, "line 3, column 2"},
        PositionCase{"OnlyLineFeeds", {"\n\n\n\n\n\n\n\n\n"}, "", 0, "line 10, column 1"},
        PositionCase{
            "CharactersAcrossWords", {"ああああ\nいいいいい"}, "う", 0, "line 2, column 6"},
        PositionCase{"ColumnGoesOnAcrossPieces", {"日本", "語の"}, "文章", 3, "line 1, column 6"},
        PositionCase{
            "ColumnStartsAgainInAPiece", {"日本語の文章\n", "ab"}, "cd", 1, "line 2, column 4"},
        PositionCase{"TwoAndFourByteCharacters", {"é😀αé😀α"}, "", 0, "line 1, column 7"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk::cli
