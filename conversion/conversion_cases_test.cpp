// Both conversions on byte literals, grouped by the kind of input, in one
// call and fed to a StreamConverter one byte at a time.

#include <gtest/gtest.h>

#include <string>

#include "conversion/convert.h"
#include "conversion/testing/hex_bytes.h"

namespace vesk {
namespace {

using namespace std::string_literals;
using testing::hexBytes;

constexpr Direction kToStandard = Direction::ToStandard;
constexpr Direction kToLocal = Direction::ToLocal;

struct Case {
  const char* name;
  Direction direction;
  std::string input;
  std::string expected;
};

void PrintTo(const Case& row, std::ostream* os) {
  *os << row.name << ": [" << hexBytes(row.input) << "]";
}

class Conversion : public ::testing::TestWithParam<Case> {};

TEST_P(Conversion, GivesTheExpectedBytes) {
  const Case& row = GetParam();
  const std::string oneCall =
      row.direction == kToStandard ? ConvertHtoZ(row.input) : ConvertZtoH(row.input);
  EXPECT_EQ(hexBytes(oneCall), hexBytes(row.expected)) << "in one call";
  StreamConverter converter(row.direction);
  std::string fed;
  for (const char byte : row.input) converter.feed({&byte, 1}, fed);
  converter.finish(fed);
  EXPECT_EQ(hexBytes(fed), hexBytes(row.expected)) << "fed byte by byte";
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

const Case kSingleBytes[] = {
    {"empty", kToStandard, "", ""},
    {"text_with_crlf", kToStandard, "Abc 123\r\n", "Abc 123\r\n"},
    {"controls_and_nul", kToStandard, "\x00\x01\x1F\t\r"s, "\x00\x01\x1F\t\r"s},
    {"del_is_one_byte", kToStandard, "\x7F\x41", "\x7F\x41"},
    {"to_local_empty", kToLocal, "", ""},
    {"to_local_text_with_crlf", kToLocal, "Abc 123\r\n", "Abc 123\r\n"},
    {"to_local_controls_and_nul", kToLocal, "\x00\x01\x1F\t\n"s, "\x00\x01\x1F\t\n"s},
    {"tilde_is_one_byte", kToLocal, "~\x83\x41", "~\xB1"},
    {"del_takes_the_next_byte", kToLocal, "\x7F\x83\x41", "\x7F\x83\x41"},
    {"del_takes_ascii", kToLocal, "\x7F\x41\x42", "\x7F\x41\x42"},
};
INSTANTIATE_TEST_SUITE_P(SingleBytes, Conversion, ::testing::ValuesIn(kSingleBytes), caseName);

const Case kKana[] = {
    {"a", kToStandard, "\xB1", "\x83\x41"},
    {"wo", kToStandard, "\xA6", "\x83\x92"},
    {"small_tsu", kToStandard, "\xAF", "\x83\x62"},
    {"long_vowel", kToStandard, "\xB0", "\x81\x5B"},
    {"full_stop", kToStandard, "\xA1", "\x81\x42"},
    {"comma", kToStandard, "\xA4", "\x81\x41"},
    {"before_ascii", kToStandard, "\xB1\x41", "\x83\x41\x41"},
    {"ga", kToStandard, "\xB6\xDE", "\x83\x4B"},
    {"do", kToStandard, "\xC4\xDE", "\x83\x68"},
    {"ba", kToStandard, "\xCA\xDE", "\x83\x6F"},
    {"pa", kToStandard, "\xCA\xDF", "\x83\x70"},
    {"po", kToStandard, "\xCE\xDF", "\x83\x7C"},
    {"vu_has_no_voiced_form", kToStandard, "\xB3\xDE", "\x83\x45\x81\x4A"},
    {"ka_has_no_semi_voiced_form", kToStandard, "\xB6\xDF", "\x83\x4A\x81\x4B"},
    {"second_mark_takes_the_next_byte", kToStandard, "\xB6\xDE\xDE\x41", "\x83\x4B\xDE\x41"},
    {"voiced_then_semi_voiced", kToStandard, "\xB6\xDE\xDF", "\x83\x4B\xDF"},
    {"semi_voiced_then_voiced", kToStandard, "\xCA\xDF\xDE\x41", "\x83\x70\xDE\x41"},
    {"guide_line", kToStandard, "\xB6\xDE\xB2\xC4\xDE\r\n", "\x83\x4B\x83\x43\x83\x68\r\n"},
    {"narrow_a", kToLocal, "\x83\x41", "\xB1"},
    {"narrow_wo", kToLocal, "\x83\x92", "\xA6"},
    {"narrow_small_tsu", kToLocal, "\x83\x62", "\xAF"},
    {"narrow_small_a", kToLocal, "\x83\x40", "\xA7"},
    {"narrow_full_stop", kToLocal, "\x81\x42", "\xA1"},
    {"narrow_long_vowel", kToLocal, "\x81\x5B", "\xB0"},
    {"comma_is_kana_not_a_local_code", kToLocal, "\x81\x41", "\xA4"},
    {"narrow_ga", kToLocal, "\x83\x4B", "\xB6\xDE"},
    {"narrow_du", kToLocal, "\x83\x64", "\xC2\xDE"},
    {"narrow_ba", kToLocal, "\x83\x6F", "\xCA\xDE"},
    {"narrow_pa", kToLocal, "\x83\x70", "\xCA\xDF"},
    {"narrow_pi", kToLocal, "\x83\x73", "\xCB\xDF"},
    {"narrow_guide_line", kToLocal, "\x83\x4B\x83\x43\x83\x68\r\n", "\xB6\xDE\xB2\xC4\xDE\r\n"},
    {"vu_comes_back_with_the_wide_mark", kToLocal, "\x83\x45\x81\x4A", "\xB3\x81\x4A"},
    {"ka_comes_back_with_the_wide_mark", kToLocal, "\x83\x4A\x81\x4B", "\xB6\x81\x4B"},
};
INSTANTIATE_TEST_SUITE_P(Kana, Conversion, ::testing::ValuesIn(kKana), caseName);

const Case kCopiedUnits[] = {
    {"voiced_mark_alone", kToStandard, "\xDE\x41", "\xDE\x41"},
    {"mark_after_ascii_takes_a_kana", kToStandard, "A\xDE\xB1", "A\xDE\xB1"},
    {"full_width_marks", kToStandard, "\x81\x4A\x81\x4B", "\x81\x4A\x81\x4B"},
    {"corner_bracket_takes_a", kToStandard, "\xA2\xB1", "\xA2\xB1"},
    {"mark_after_a_swallowed_kana", kToStandard, "\xA2\xB1\xDE\x41", "\xA2\xB1\xDE\x41"},
    {"middle_dot_takes_cr", kToStandard, "\xA5\r\n", "\xA5\r\n"},
    {"byte_80", kToStandard, "\x80\x41", "\x80\x41"},
    {"byte_FF_takes_a_kana", kToStandard, "\xFF\xB6\xDE\x41", "\xFF\xB6\xDE\x41"},
    {"kanji_takes_a_local_lead", kToStandard, "\x88\xF0\x56", "\x88\xF0\x56"},
    {"full_width_katakana", kToStandard, "\x83\x41", "\x83\x41"},
    {"lead_takes_nul", kToStandard, "\x88\x00\x41"s, "\x88\x00\x41"s},
    {"no_local_code_after_ha", kToStandard, "\xF5\x70", "\xF5\x70"},
    {"no_local_code_after_n", kToStandard, "\xF6\x64", "\xF6\x64"},
    {"lead_F4", kToStandard, "\xF4\x41", "\xF4\x41"},
    {"lead_F7", kToStandard, "\xF7\x41", "\xF7\x41"},
    {"local_lead_takes_a_local_lead", kToStandard, "\xF5\xF5\x41", "\xF5\xF5\x41"},
    {"wide_marks_stay", kToLocal, "\x81\x4A\x81\x4B", "\x81\x4A\x81\x4B"},
    {"half_width_mark_takes_ascii", kToLocal, "\xDE\x41", "\xDE\x41"},
    {"half_width_takes_a_lead", kToLocal, "\xB1\x83\x41", "\xB1\x83\x41"},
    {"kanji", kToLocal, "\x88\xA4", "\x88\xA4"},
    {"kanji_takes_a_lead", kToLocal, "\x88\x83\x41", "\x88\x83\x41"},
    {"vu", kToLocal, "\x83\x94", "\x83\x94"},
    {"small_wa", kToLocal, "\x83\x8E", "\x83\x8E"},
    {"trail_then_lead_across_entries", kToLocal, "\x81\x83\x41", "\x81\x83\x41"},
    {"to_local_lead_takes_nul", kToLocal, "\x83\x00\x41"s, "\x83\x00\x41"s},
    {"other_square_root", kToLocal, "\x81\xE3", "\x81\xE3"},
    {"local_code_stays", kToLocal, "\xF5\x41", "\xF5\x41"},
};
INSTANTIATE_TEST_SUITE_P(CopiedUnits, Conversion, ::testing::ValuesIn(kCopiedUnits), caseName);

const Case kLocalCodes[] = {
    {"small_a", kToStandard, "\xF5\x41", "\x82\x9F"},
    {"ha", kToStandard, "\xF5\x6F", "\x82\xCD"},
    {"ba", kToStandard, "\xF6\x40", "\x82\xCE"},
    {"n", kToStandard, "\xF6\x63", "\x82\xF1"},
    {"square_root", kToStandard, "\xF0\x56", "\x87\x95"},
    {"comma", kToStandard, "\xF1\x42", "\x81\x41"},
    {"down_arrow", kToStandard, "\xF3\x4D", "\x81\xAB"},
    {"wi", kToStandard, "\xF8\x60", "\x83\x90"},
    {"small_ke", kToStandard, "\xF8\x66", "\x83\x96"},
    {"between_kana", kToStandard, "\xB1\xF5\x41\xB1", "\x83\x41\x82\x9F\x83\x41"},
    {"to_small_a", kToLocal, "\x82\x9F", "\xF5\x41"},
    {"to_ha", kToLocal, "\x82\xCD", "\xF5\x6F"},
    {"to_ba", kToLocal, "\x82\xCE", "\xF6\x40"},
    {"to_n", kToLocal, "\x82\xF1", "\xF6\x63"},
    {"to_square_root", kToLocal, "\x87\x95", "\xF0\x56"},
    {"to_repeat_mark", kToLocal, "\x81\x58", "\xF1\x59"},
    {"to_down_arrow", kToLocal, "\x81\xAB", "\xF3\x4D"},
    {"to_wi", kToLocal, "\x83\x90", "\xF8\x60"},
    {"to_small_ke", kToLocal, "\x83\x96", "\xF8\x66"},
};
INSTANTIATE_TEST_SUITE_P(LocalCodes, Conversion, ::testing::ValuesIn(kLocalCodes), caseName);

// A unit that starts at the last byte is looked up as a one-byte key.
const Case kLastByte[] = {
    {"kana_widened_plainly", kToStandard, "\xB6", "\x83\x4A"},
    {"F0_is_square_root", kToStandard, "\xF0", "\x87\x95"},
    {"F1_is_repeat_mark", kToStandard, "\xF1", "\x81\x58"},
    {"F2_is_opening_bracket", kToStandard, "\xF2", "\x81\x75"},
    {"F3_is_black_diamond", kToStandard, "\xF3", "\x81\x9F"},
    {"F5_is_small_a", kToStandard, "\xF5", "\x82\x9F"},
    {"F6_is_ba", kToStandard, "\xF6", "\x82\xCE"},
    {"F8_is_wi", kToStandard, "\xF8", "\x83\x90"},
    {"F4_copied", kToStandard, "\xF4", "\xF4"},
    {"F7_copied", kToStandard, "\xF7", "\xF7"},
    {"byte_80_copied", kToStandard, "\x80", "\x80"},
    {"mark_copied", kToStandard, "\xDE", "\xDE"},
    {"after_a_pair", kToStandard, "\xF5\x41\xF5", "\x82\x9F\x82\x9F"},
    {"trail_of_a_pair_is_no_unit", kToStandard, "\x88\xF0", "\x88\xF0"},
    {"lead_83_is_a", kToLocal, "\x83", "\xB1"},
    {"lead_81_is_repeat_mark", kToLocal, "\x81", "\xF1\x59"},
    {"lead_82_is_small_a", kToLocal, "\x82", "\xF5\x41"},
    {"lead_87_is_square_root", kToLocal, "\x87", "\xF0\x56"},
    {"del_copied", kToLocal, "\x7F", "\x7F"},
    {"lead_88_copied", kToLocal, "\x88", "\x88"},
    {"half_width_copied", kToLocal, "\xB1", "\xB1"},
    {"after_a_letter", kToLocal, "\x83\x41\x83", "\xB1\xB1"},
    {"to_local_trail_of_a_pair_is_no_unit", kToLocal, "\x88\x83", "\x88\x83"},
};
INSTANTIATE_TEST_SUITE_P(LastByte, Conversion, ::testing::ValuesIn(kLastByte), caseName);

}  // namespace
}  // namespace vesk
