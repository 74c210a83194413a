#pragma once

// A code table stored as one packed byte string, entries back to back, the
// rule by which a key is looked up in it, and the same rule's answers worked
// out in advance for converting text.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vesk {

struct CodeTable {
  std::string_view packed;
  std::size_t width;  // bytes per entry: 1 or 2

  constexpr int size() const { return static_cast<int>(packed.size() / width); }
};

// Where key first stands in packed (from 0), or npos. A plain loop: the
// library's find is not constexpr-friendly on every compiler this builds with.
constexpr std::size_t firstPosition(std::string_view packed, std::string_view key) {
  if (key.empty() || key.size() > packed.size()) return std::string_view::npos;
  for (std::size_t at = 0; at + key.size() <= packed.size(); ++at) {
    std::size_t matched = 0;
    while (matched < key.size() && packed[at + matched] == key[matched]) ++matched;
    if (matched == key.size()) return at;
  }
  return std::string_view::npos;
}

// Entry numbers count from 1, as the tables are listed; 0 stands for no entry.
inline constexpr int kNoEntry = 0;

// The lookup rule. The key is found only where its first occurrence in the
// packed string starts on an entry boundary. An occurrence that straddles two
// entries is no entry, and the search does not go on to a later one. The key
// is normally as wide as an entry; a one-byte key (a unit cut short by the
// end of the input) follows the same rule, so it finds the first entry it
// leads only when no earlier entry holds it as a trail byte.
constexpr int lookup(const CodeTable& table, std::string_view key) {
  const std::size_t position = firstPosition(table.packed, key);
  if (position == std::string_view::npos || position % table.width != 0) return kNoEntry;
  return static_cast<int>(position / table.width) + 1;
}

// Whether the key stands anywhere in the packed string, on a boundary or not.
constexpr bool occursIn(const CodeTable& table, std::string_view key) {
  return firstPosition(table.packed, key) != std::string_view::npos;
}

// Entry n (from 1) of the table.
constexpr std::string_view entryAt(const CodeTable& table, int n) {
  return table.packed.substr(static_cast<std::size_t>(n - 1) * table.width, table.width);
}

// A code of one or two bytes: a table entry, or a key to look up.
struct Code {
  unsigned char size = 0;
  unsigned char first = 0;
  unsigned char second = 0;

  friend constexpr bool operator==(const Code&, const Code&) = default;
};

// A code table whose lookups of one- and two-byte keys were answered by the
// rule above when it was built (at compile time), so that each costs an array
// read or two. A two-byte key that is found equals an entry, so only keys
// that lead like an entry need an answer; every other key is no entry. The
// answers come from one pass over the packed string: the first time a key is
// seen is its first occurrence.
class IndexedTable {
 public:
  constexpr explicit IndexedTable(const CodeTable& table) : table_(table) {
    if (table.size() > kMaxEntries) throw "a table too long for one-byte entry numbers";
    const std::string_view packed = table.packed;
    for (std::size_t i = 0; i < static_cast<std::size_t>(table.size()); ++i) {
      const std::size_t at = i * table.width;
      entries_[i] = table.width == 1 ? Code{1, byte(packed, at), 0}
                                     : Code{2, byte(packed, at), byte(packed, at + 1)};
    }
    std::array<bool, 256> seen{};
    for (std::size_t at = 0; at < packed.size(); ++at) {
      if (!seen[byte(packed, at)]) oneByte_[byte(packed, at)] = entryStartingAt(at);
      seen[byte(packed, at)] = true;
    }
    if (table.width != 2) return;
    for (std::size_t i = 0; i < static_cast<std::size_t>(table.size()); ++i) {
      std::uint8_t& row = rowOfLead_[entries_[i].first];
      if (row != 0) continue;
      if (leads_ == kMaxLeads) throw "more lead bytes than the index holds";
      row = static_cast<std::uint8_t>(++leads_);
      rows_[leads_ - 1].fill(kUnseen);
    }
    for (std::size_t at = 0; at + 1 < packed.size(); ++at) {
      const std::uint8_t row = rowOfLead_[byte(packed, at)];
      if (row == 0) continue;
      std::uint8_t& answer = rows_[row - 1][byte(packed, at + 1)];
      if (answer == kUnseen) answer = entryStartingAt(at);
    }
    for (auto& row : rows_) std::replace(row.begin(), row.end(), kUnseen, std::uint8_t{0});
  }

  // lookup(table, key) for a key of one byte, or of two in a two-byte table.
  constexpr int find(Code key) const {
    if (key.size == 1) return oneByte_[key.first];
    const std::uint8_t row = rowOfLead_[key.first];
    return row == 0 ? kNoEntry : rows_[row - 1][key.second];
  }

  // occursIn(table, key): a key found occurs; any other needs a search.
  constexpr bool occurs(Code key) const {
    if (find(key) != kNoEntry) return true;
    const char bytes[2] = {static_cast<char>(key.first), static_cast<char>(key.second)};
    return occursIn(table_, {bytes, key.size});
  }

  // Entry n (from 1).
  constexpr Code entry(int n) const { return entries_[static_cast<std::size_t>(n - 1)]; }

 private:
  static constexpr int kMaxEntries = 255;
  static constexpr std::size_t kMaxLeads = 8;
  static constexpr std::uint8_t kUnseen = 0xFF;

  static constexpr unsigned char byte(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
  }
  // The entry a key found at this position of the packed string is, if any.
  constexpr std::uint8_t entryStartingAt(std::size_t at) const {
    return at % table_.width != 0 ? std::uint8_t{0}
                                  : static_cast<std::uint8_t>(at / table_.width + 1);
  }

  CodeTable table_;
  std::array<Code, kMaxEntries> entries_{};
  std::array<std::uint8_t, 256> oneByte_{};
  std::array<std::uint8_t, 256> rowOfLead_{};  // row + 1 of each lead byte, 0 for none
  std::size_t leads_ = 0;
  std::array<std::array<std::uint8_t, 256>, kMaxLeads> rows_{};
};

}  // namespace vesk
