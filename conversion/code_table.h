#pragma once

// A code table stored as one packed byte string, entries back to back, and
// the rule by which a key is looked up in it.

#include <cstddef>
#include <string_view>

namespace vesk {

struct CodeTable {
  std::string_view packed;
  std::size_t width;  // bytes per entry: 1 or 2

  constexpr int size() const { return static_cast<int>(packed.size() / width); }
};

// Where key first stands in packed (from 0), or npos. A plain loop: it runs at
// compile time over every key the dense tables need, where the library's
// find costs many times more.
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

// The key is found only where its first occurrence in the packed string
// starts on an entry boundary. An occurrence that straddles two entries is no
// entry, and the search does not go on to a later one. The key is normally as
// wide as an entry; a one-byte key (a unit cut short by the end of the input)
// follows the same rule, so it finds the first entry it leads only when no
// earlier entry holds it as a trail byte.
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

}  // namespace vesk
