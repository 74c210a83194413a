// The code tables: the lookup rule on its awkward keys, and the facts about
// the data that the conversions rely on.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "conversion/code_table.h"
#include "conversion/code_tables.h"
#include "conversion/testing/hex_bytes.h"

namespace vesk {
namespace {

using namespace tables;
using testing::hexBytes;

struct LookupCase {
  const char* name;
  const CodeTable* table;
  std::string key;
  int entry;  // kNoEntry when the key is no entry
};

void PrintTo(const LookupCase& row, std::ostream* os) { *os << row.name; }

class LookupRule : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupRule, FindsTheEntryOfTheFirstOccurrence) {
  EXPECT_EQ(lookup(*GetParam().table, GetParam().key), GetParam().entry);
}

const LookupCase kTwoByteKeys[] = {
    {"comma_in_kana", &ZenkakuKana, "\x81\x41", 57},
    {"comma_in_voiced_kana", &ZenkakuDakuon, "\x81\x41", 57},
    {"comma_in_standard_codes", &StandardCodes, "\x81\x41", 3},
    {"vu_not_in_kana", &ZenkakuKana, "\x83\x94", kNoEntry},
    {"vu_not_in_standard_codes", &StandardCodes, "\x83\x94", kNoEntry},
    {"kanji_straddling_entries_1_and_2", &StandardCodes, "\x95\x81", kNoEntry},
    {"trail_then_lead_in_kana", &ZenkakuKana, "\x81\x83", kNoEntry},
    {"gap_after_ha", &LocalCodes, "\xF5\x70", kNoEntry},
    {"first_local_code", &LocalCodes, "\xF0\x56", 1},
    {"last_local_code", &LocalCodes, "\xF8\x66", 110},
    {"last_hiragana_of_F5", &LocalCodes, "\xF5\x6F", 70},
    {"ga_in_voiced_kana", &ZenkakuDakuon, "\x83\x4B", 6},
    {"ga_not_in_plain_kana", &ZenkakuKana, "\x83\x4B", kNoEntry},
    {"pa_in_semi_voiced_kana", &ZenkakuHandakuon, "\x83\x70", 26},
    {"pa_in_voiced_kana", &ZenkakuDakuon, "\x83\x70", kNoEntry},
};
INSTANTIATE_TEST_SUITE_P(TwoByteKeys, LookupRule, ::testing::ValuesIn(kTwoByteKeys),
                         [](const auto& info) { return std::string(info.param.name); });

const LookupCase kOneByteKeys[] = {
    {"half_width_a", &HankakuKana, "\xB1", 1},
    {"half_width_long_vowel", &HankakuKana, "\xB0", 58},
    {"opening_corner_bracket", &HankakuKana, "\xA2", kNoEntry},
    {"middle_dot", &HankakuKana, "\xA5", kNoEntry},
    {"voiced_mark", &HankakuKana, "\xDE", kNoEntry},
    {"lead_83_in_kana", &ZenkakuKana, "\x83", 1},
    {"lead_81_in_kana_first_a_trail", &ZenkakuKana, "\x81", kNoEntry},
    {"lead_82_in_kana_first_a_trail", &ZenkakuKana, "\x82", kNoEntry},
    {"lead_81_in_standard_codes", &StandardCodes, "\x81", 2},
    {"lead_82_in_standard_codes", &StandardCodes, "\x82", 24},
    {"lead_83_in_standard_codes", &StandardCodes, "\x83", 107},
    {"trail_95_in_standard_codes", &StandardCodes, "\x95", kNoEntry},
    {"F4_in_local_codes", &LocalCodes, "\xF4", kNoEntry},
    {"F8_in_local_codes", &LocalCodes, "\xF8", 107},
};
INSTANTIATE_TEST_SUITE_P(OneByteKeys, LookupRule, ::testing::ValuesIn(kOneByteKeys),
                         [](const auto& info) { return std::string(info.param.name); });

struct TableShape {
  const char* name;
  const CodeTable* table;
};

void PrintTo(const TableShape& row, std::ostream* os) { *os << row.name; }

class EveryTable : public ::testing::TestWithParam<TableShape> {};

const TableShape kTables[] = {
    {"HankakuKana", &HankakuKana},     {"ZenkakuKana", &ZenkakuKana},
    {"ZenkakuDakuon", &ZenkakuDakuon}, {"ZenkakuHandakuon", &ZenkakuHandakuon},
    {"LocalCodes", &LocalCodes},       {"StandardCodes", &StandardCodes},
};

// The index answers every key of one and two bytes as the rule does.
TEST_P(EveryTable, IndexAgreesWithTheRule) {
  const CodeTable& table = *GetParam().table;
  const IndexedTable indexed(table);
  for (unsigned first = 0; first < 256; ++first) {
    const std::string one(1, static_cast<char>(first));
    ASSERT_EQ(indexed.find({1, static_cast<unsigned char>(first), 0}), lookup(table, one)) << first;
    for (unsigned second = 0; second < 256 && table.width == 2; ++second) {
      const Code key{2, static_cast<unsigned char>(first), static_cast<unsigned char>(second)};
      const std::string two{static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(indexed.find(key), lookup(table, two)) << hexBytes(two);
    }
  }
}

TEST_P(EveryTable, HoldsEachEntryOnce) {
  const CodeTable& table = *GetParam().table;
  std::set<std::string_view> seen;
  for (int n = 1; n <= table.size(); ++n) {
    EXPECT_TRUE(seen.insert(entryAt(table, n)).second) << hexBytes(entryAt(table, n));
  }
}

// What lets two-byte keys be matched entry by entry: no entry first turns up
// straddling two others.
TEST_P(EveryTable, FindsEveryEntryAtItsOwnPlace) {
  const CodeTable& table = *GetParam().table;
  for (int n = 1; n <= table.size(); ++n) {
    EXPECT_EQ(lookup(table, entryAt(table, n)), n) << hexBytes(entryAt(table, n));
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryTable, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<int> entriesDifferingFromPlain(const CodeTable& table) {
  std::vector<int> differing;
  for (int n = 1; n <= table.size(); ++n) {
    if (entryAt(table, n) != entryAt(ZenkakuKana, n)) differing.push_back(n);
  }
  return differing;
}

std::vector<int> numbers(int from, int to) {
  std::vector<int> range;
  for (int n = from; n <= to; ++n) range.push_back(n);
  return range;
}

TEST(KanaTables, VoicedFormsAreEntries6To20And26To30) {
  std::vector<int> expected = numbers(6, 20);
  for (int n : numbers(26, 30)) expected.push_back(n);
  EXPECT_EQ(entriesDifferingFromPlain(ZenkakuDakuon), expected);
}

TEST(KanaTables, SemiVoicedFormsAreEntries26To30) {
  EXPECT_EQ(entriesDifferingFromPlain(ZenkakuHandakuon), numbers(26, 30));
}

TEST(LocalCodeTable, UsesLeadBytesF0ToF8ExceptF4AndF7) {
  std::set<unsigned> leads;
  for (int n = 1; n <= LocalCodes.size(); ++n) {
    const std::string_view code = entryAt(LocalCodes, n);
    leads.insert(static_cast<unsigned char>(code[0]));
    if (code[0] == '\xF5') {
      EXPECT_LE(static_cast<unsigned char>(code[1]), 0x6F);
    }
  }
  EXPECT_EQ(leads, (std::set<unsigned>{0xF0, 0xF1, 0xF2, 0xF3, 0xF5, 0xF6, 0xF8}));
}

}  // namespace
}  // namespace vesk
