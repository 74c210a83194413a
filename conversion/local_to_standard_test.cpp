// ConvertHtoZ on byte literals, grouped by the kind of input.

#include <gtest/gtest.h>

#include <string>

#include "conversion/convert.h"
#include "conversion/testing/conversion_case.h"

namespace vesk {
namespace {

using namespace std::string_literals;
using testing::caseName;
using testing::ConversionCase;

class LocalToStandard : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(LocalToStandard, Converts) { testing::expectConverts(Direction::ToStandard, GetParam()); }

const ConversionCase kAsciiAndControls[] = {
    {"empty", "", ""},
    {"text_with_crlf", "Abc 123\r\n", "Abc 123\r\n"},
    {"controls_and_nul", "\x00\x01\x1F\t\r"s, "\x00\x01\x1F\t\r"s},
    {"del_is_one_byte",
     "\x7F"
     "A",
     "\x7F"
     "A"},
    {"del_at_end", "\x7F", "\x7F"},
    {"long_run_then_kana", std::string(37, 'a') + "\xB1", std::string(37, 'a') + "\x83\x41"},
    {"kana_inside_a_long_run", std::string(40, 'p') + "\xB1" + std::string(40, 'o'),
     std::string(40, 'p') + "\x83\x41" + std::string(40, 'o')},
    {"kana_then_long_run", "\xB1" + std::string(29, 'z'), "\x83\x41" + std::string(29, 'z')},
};
INSTANTIATE_TEST_SUITE_P(AsciiAndControls, LocalToStandard, ::testing::ValuesIn(kAsciiAndControls),
                         caseName);

const ConversionCase kPlainKana[] = {
    {"a", "\xB1", "\x83\x41"},
    {"wo", "\xA6", "\x83\x92"},
    {"small_tsu", "\xAF", "\x83\x62"},
    {"long_vowel", "\xB0", "\x81\x5B"},
    {"full_stop", "\xA1", "\x81\x42"},
    {"comma", "\xA4", "\x81\x41"},
    {"wa", "\xDC", "\x83\x8F"},
    {"n", "\xDD", "\x83\x93"},
    {"before_ascii",
     "\xB1"
     "A",
     "\x83\x41"
     "A"},
    {"run", "\xB1\xB2\xB3", "\x83\x41\x83\x43\x83\x45"},
};
INSTANTIATE_TEST_SUITE_P(PlainKana, LocalToStandard, ::testing::ValuesIn(kPlainKana), caseName);

const ConversionCase kVoiced[] = {
    {"ga", "\xB6\xDE", "\x83\x4B"},
    {"do", "\xC4\xDE", "\x83\x68"},
    {"ba", "\xCA\xDE", "\x83\x6F"},
    {"vu_has_no_voiced_form", "\xB3\xDE", "\x83\x45\x81\x4A"},
    {"a_has_no_voiced_form", "\xB1\xDE", "\x83\x41\x81\x4A"},
    {"second_mark_takes_next_byte",
     "\xB6\xDE\xDE"
     "A",
     "\x83\x4B\xDE"
     "A"},
    {"voiced_then_semi_voiced", "\xB6\xDE\xDF", "\x83\x4B\xDF"},
    {"in_a_line", "\xB6\xDE\xB2\xC4\xDE\r\n", "\x83\x4B\x83\x43\x83\x68\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Voiced, LocalToStandard, ::testing::ValuesIn(kVoiced), caseName);

const ConversionCase kSemiVoiced[] = {
    {"pa", "\xCA\xDF", "\x83\x70"},
    {"po", "\xCE\xDF", "\x83\x7C"},
    {"ka_has_no_semi_voiced_form", "\xB6\xDF", "\x83\x4A\x81\x4B"},
    {"second_mark_at_end", "\xCA\xDF\xDF", "\x83\x70\xDF"},
    {"then_voiced_mark",
     "\xCA\xDF\xDE"
     "A",
     "\x83\x70\xDE"
     "A"},
};
INSTANTIATE_TEST_SUITE_P(SemiVoiced, LocalToStandard, ::testing::ValuesIn(kSemiVoiced), caseName);

const ConversionCase kMarksStandingAlone[] = {
    {"voiced_before_ascii",
     "\xDE"
     "A",
     "\xDE"
     "A"},
    {"semi_voiced_before_ascii",
     "\xDF"
     "A",
     "\xDF"
     "A"},
    {"voiced_at_end", "\xDE", "\xDE"},
    {"semi_voiced_at_end", "\xDF", "\xDF"},
    {"after_ascii_takes_a_kana", "A\xDE\xB1", "A\xDE\xB1"},
    {"full_width_marks", "\x81\x4A\x81\x4B", "\x81\x4A\x81\x4B"},
};
INSTANTIATE_TEST_SUITE_P(MarksStandingAlone, LocalToStandard,
                         ::testing::ValuesIn(kMarksStandingAlone), caseName);

const ConversionCase kSwallowedBytes[] = {
    {"corner_bracket_takes_a", "\xA2\xB1", "\xA2\xB1"},
    {"mark_after_swallowed_kana",
     "\xA2\xB1\xDE"
     "A",
     "\xA2\xB1\xDE"
     "A"},
    {"middle_dot_takes_cr", "\xA5\r\n", "\xA5\r\n"},
    {"byte_80",
     "\x80"
     "A",
     "\x80"
     "A"},
    {"byte_A0_takes_kana", "\xA0\xB6\xDE", "\xA0\xB6\xDE"},
    {"byte_FF_takes_kana",
     "\xFF\xB6\xDE"
     "A",
     "\xFF\xB6\xDE"
     "A"},
    {"kanji_takes_local_lead", "\x88\xF0\x56", "\x88\xF0\x56"},
    {"kanji", "\x88\xA4", "\x88\xA4"},
    {"full_width_katakana", "\x83\x41", "\x83\x41"},
    {"lead_takes_nul",
     "\x88\x00"
     "A"s,
     "\x88\x00"
     "A"s},
};
INSTANTIATE_TEST_SUITE_P(SwallowedBytes, LocalToStandard, ::testing::ValuesIn(kSwallowedBytes),
                         caseName);

const ConversionCase kLocalCodes[] = {
    {"small_a", "\xF5\x41", "\x82\x9F"},
    {"ha", "\xF5\x6F", "\x82\xCD"},
    {"ba", "\xF6\x40", "\x82\xCE"},
    {"n", "\xF6\x63", "\x82\xF1"},
    {"square_root", "\xF0\x56", "\x87\x95"},
    {"comma", "\xF1\x42", "\x81\x41"},
    {"down_arrow", "\xF3\x4D", "\x81\xAB"},
    {"wi", "\xF8\x60", "\x83\x90"},
    {"small_ke", "\xF8\x66", "\x83\x96"},
    {"gap_after_ha", "\xF5\x70", "\xF5\x70"},
    {"after_n", "\xF6\x64", "\xF6\x64"},
    {"lead_F4", "\xF4\x41", "\xF4\x41"},
    {"lead_F7", "\xF7\x41", "\xF7\x41"},
    {"lead_F9", "\xF9\x40", "\xF9\x40"},
    {"lead_takes_lead", "\xF5\xF5\x41", "\xF5\xF5\x41"},
    {"between_kana", "\xB1\xF5\x41\xB1", "\x83\x41\x82\x9F\x83\x41"},
};
INSTANTIATE_TEST_SUITE_P(LocalCodes, LocalToStandard, ::testing::ValuesIn(kLocalCodes), caseName);

const ConversionCase kLastByte[] = {
    {"kana_widened_plainly", "\xB6", "\x83\x4A"},
    {"F0_is_square_root", "\xF0", "\x87\x95"},
    {"F1_is_repeat_mark", "\xF1", "\x81\x58"},
    {"F2_is_opening_bracket", "\xF2", "\x81\x75"},
    {"F3_is_black_diamond", "\xF3", "\x81\x9F"},
    {"F5_is_small_a", "\xF5", "\x82\x9F"},
    {"F6_is_ba", "\xF6", "\x82\xCE"},
    {"F8_is_wi", "\xF8", "\x83\x90"},
    {"F4_copied", "\xF4", "\xF4"},
    {"F7_copied", "\xF7", "\xF7"},
    {"F9_copied", "\xF9", "\xF9"},
    {"byte_80_copied", "\x80", "\x80"},
    {"byte_FF_copied", "\xFF", "\xFF"},
    {"after_ascii", "A\xF0", "A\x87\x95"},
    {"after_a_pair", "\xF5\x41\xF5", "\x82\x9F\x82\x9F"},
    {"after_a_kana", "\xB1\xF8", "\x83\x41\x83\x90"},
    {"trail_of_a_pair_is_not_a_unit", "\x88\xF0", "\x88\xF0"},
};
INSTANTIATE_TEST_SUITE_P(LastByte, LocalToStandard, ::testing::ValuesIn(kLastByte), caseName);

}  // namespace
}  // namespace vesk
