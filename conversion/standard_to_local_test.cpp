// ConvertZtoH on byte literals, grouped by the kind of input, and the two
// conversions one after the other.

#include <gtest/gtest.h>

#include <string>

#include "conversion/convert.h"
#include "conversion/testing/conversion_case.h"
#include "conversion/testing/hex_bytes.h"

namespace vesk {
namespace {

using namespace std::string_literals;
using testing::caseName;
using testing::ConversionCase;
using testing::hexBytes;

class StandardToLocal : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(StandardToLocal, Converts) { testing::expectConverts(Direction::ToLocal, GetParam()); }

const ConversionCase kAsciiAndControls[] = {
    {"empty", "", ""},
    {"text_with_crlf", "Abc 123\r\n", "Abc 123\r\n"},
    {"controls_and_nul", "\x00\x01\x1F\t\n"s, "\x00\x01\x1F\t\n"s},
    {"tilde_is_one_byte", "~\x83\x41", "~\xB1"},
    {"del_takes_next_byte", "\x7F\x83\x41",
     "\x7F\x83"
     "A"},
    {"del_takes_ascii",
     "\x7F"
     "AB",
     "\x7F"
     "AB"},
    {"del_at_end", "\x7F", "\x7F"},
    {"long_run_then_del", std::string(45, 'q') + "\x7F\x83\x41",
     std::string(45, 'q') + "\x7F\x83"
                            "A"},
    {"del_ending_a_long_run_window", std::string(31, 'q') + "\x7F\x83\x41" + std::string(40, 'o'),
     std::string(31, 'q') + "\x7F\x83\x41" + std::string(40, 'o')},
};
INSTANTIATE_TEST_SUITE_P(AsciiAndControls, StandardToLocal, ::testing::ValuesIn(kAsciiAndControls),
                         caseName);

const ConversionCase kPlainKana[] = {
    {"a", "\x83\x41", "\xB1"},
    {"wo", "\x83\x92", "\xA6"},
    {"small_tsu", "\x83\x62", "\xAF"},
    {"small_a", "\x83\x40", "\xA7"},
    {"full_stop", "\x81\x42", "\xA1"},
    {"long_vowel", "\x81\x5B", "\xB0"},
    {"comma_is_kana_not_local_code", "\x81\x41", "\xA4"},
    {"n", "\x83\x93", "\xDD"},
    {"run_with_crlf", "\x83\x41\x83\x43\r\n", "\xB1\xB2\r\n"},
};
INSTANTIATE_TEST_SUITE_P(PlainKana, StandardToLocal, ::testing::ValuesIn(kPlainKana), caseName);

const ConversionCase kVoiced[] = {
    {"ga", "\x83\x4B", "\xB6\xDE"},
    {"da", "\x83\x5F", "\xC0\xDE"},
    {"du", "\x83\x64", "\xC2\xDE"},
    {"do", "\x83\x68", "\xC4\xDE"},
    {"ba", "\x83\x6F", "\xCA\xDE"},
    {"in_a_line", "\x83\x4B\x83\x43\x83\x68\r\n", "\xB6\xDE\xB2\xC4\xDE\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Voiced, StandardToLocal, ::testing::ValuesIn(kVoiced), caseName);

const ConversionCase kSemiVoiced[] = {
    {"pa", "\x83\x70", "\xCA\xDF"},
    {"pi", "\x83\x73", "\xCB\xDF"},
    {"po", "\x83\x7C", "\xCE\xDF"},
};
INSTANTIATE_TEST_SUITE_P(SemiVoiced, StandardToLocal, ::testing::ValuesIn(kSemiVoiced), caseName);

const ConversionCase kMarksStandingAlone[] = {
    {"full_width_voiced", "\x81\x4A", "\x81\x4A"},
    {"full_width_semi_voiced", "\x81\x4B", "\x81\x4B"},
    {"half_width_mark_takes_ascii",
     "\xDE"
     "A",
     "\xDE"
     "A"},
    {"after_letter", "\x83\x41\x81\x4A", "\xB1\x81\x4A"},
};
INSTANTIATE_TEST_SUITE_P(MarksStandingAlone, StandardToLocal,
                         ::testing::ValuesIn(kMarksStandingAlone), caseName);

const ConversionCase kSwallowedBytes[] = {
    {"half_width_takes_ascii",
     "\xB1"
     "A",
     "\xB1"
     "A"},
    {"half_width_takes_lead", "\xB1\x83\x41",
     "\xB1\x83"
     "A"},
    {"kanji", "\x88\xA4", "\x88\xA4"},
    {"kanji_takes_lead", "\x88\x83\x41",
     "\x88\x83"
     "A"},
    {"vu", "\x83\x94", "\x83\x94"},
    {"small_wa", "\x83\x8E", "\x83\x8E"},
    {"trail_then_lead_across_entries", "\x81\x83\x41",
     "\x81\x83"
     "A"},
    {"lead_takes_nul",
     "\x83\x00"
     "A"s,
     "\x83\x00"
     "A"s},
};
INSTANTIATE_TEST_SUITE_P(SwallowedBytes, StandardToLocal, ::testing::ValuesIn(kSwallowedBytes),
                         caseName);

const ConversionCase kLocalCodes[] = {
    {"small_a", "\x82\x9F", "\xF5\x41"},
    {"ha", "\x82\xCD", "\xF5\x6F"},
    {"ba", "\x82\xCE", "\xF6\x40"},
    {"n", "\x82\xF1", "\xF6\x63"},
    {"square_root", "\x87\x95", "\xF0\x56"},
    {"other_square_root", "\x81\xE3", "\x81\xE3"},
    {"repeat_mark", "\x81\x58", "\xF1\x59"},
    {"down_arrow", "\x81\xAB", "\xF3\x4D"},
    {"wi", "\x83\x90", "\xF8\x60"},
    {"small_ke", "\x83\x96", "\xF8\x66"},
    {"local_code_unchanged", "\xF5\x41", "\xF5\x41"},
};
INSTANTIATE_TEST_SUITE_P(LocalCodes, StandardToLocal, ::testing::ValuesIn(kLocalCodes), caseName);

const ConversionCase kLastByte[] = {
    {"lead_83_is_a", "\x83", "\xB1"},
    {"lead_81_is_repeat_mark", "\x81", "\xF1\x59"},
    {"lead_82_is_small_a", "\x82", "\xF5\x41"},
    {"lead_87_is_square_root", "\x87", "\xF0\x56"},
    {"del_copied", "\x7F", "\x7F"},
    {"lead_88_copied", "\x88", "\x88"},
    {"half_width_copied", "\xB1", "\xB1"},
    {"byte_FF_copied", "\xFF", "\xFF"},
    {"after_ascii", "A\x83", "A\xB1"},
    {"after_a_letter", "\x83\x41\x83", "\xB1\xB1"},
    {"trail_of_a_pair_is_not_a_unit", "\x88\x83", "\x88\x83"},
};
INSTANTIATE_TEST_SUITE_P(LastByte, StandardToLocal, ::testing::ValuesIn(kLastByte), caseName);

// Local text to standard and back; the result is not always where it started.
struct RoundTrip {
  const char* name;
  std::string local;
  std::string standard;
  std::string back;
};

void PrintTo(const RoundTrip& row, std::ostream* os) { *os << row.name; }

class ThereAndBack : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ThereAndBack, ConvertsBothWays) {
  const std::string standard = ConvertHtoZ(GetParam().local);
  EXPECT_EQ(hexBytes(standard), hexBytes(GetParam().standard));
  EXPECT_EQ(hexBytes(ConvertZtoH(standard)), hexBytes(GetParam().back));
}

const RoundTrip kRoundTrips[] = {
    {"guide_line", "\xB6\xDE\xB2\xC4\xDE\r\n", "\x83\x4B\x83\x43\x83\x68\r\n",
     "\xB6\xDE\xB2\xC4\xDE\r\n"},
    {"pa", "\xCA\xDF", "\x83\x70", "\xCA\xDF"},
    {"hiragana", "\xF5\x41\xF6\x63", "\x82\x9F\x82\xF1", "\xF5\x41\xF6\x63"},
    {"square_root", "\xF0\x56", "\x87\x95", "\xF0\x56"},
    {"vu_keeps_full_width_mark", "\xB3\xDE", "\x83\x45\x81\x4A", "\xB3\x81\x4A"},
    {"ka_keeps_full_width_mark", "\xB6\xDF", "\x83\x4A\x81\x4B", "\xB6\x81\x4B"},
    {"local_comma_comes_back_half_width", "\xF1\x42", "\x81\x41", "\xA4"},
    {"lone_lead_at_end", "\xF5", "\x82\x9F", "\xF5\x41"},
};
INSTANTIATE_TEST_SUITE_P(RoundTrips, ThereAndBack, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk
