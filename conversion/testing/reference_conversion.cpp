#include "conversion/testing/reference_conversion.h"

#include "conversion/code_tables.h"

namespace vesk::reference {
namespace {

using namespace vesk::tables;

std::string entry(const CodeTable& table, int n) {
  return std::string(
      table.packed.substr(static_cast<std::size_t>(n - 1) * table.width, table.width));
}

bool occursIn(const CodeTable& table, const std::string& key) {
  return table.packed.find(key) != std::string_view::npos;
}

// The unit at i: two bytes, or one when i is the last position.
std::string unitAt(std::string_view s, std::size_t i) { return std::string(s.substr(i, 2)); }

}  // namespace

int lookup(const CodeTable& table, const std::string& key) {
  const std::size_t found = table.packed.find(key);
  if (found == std::string_view::npos) return 0;
  const std::size_t p = found + 1;  // counted from 1
  if (table.width == 1) return static_cast<int>(p);
  return p % 2 == 1 ? static_cast<int>((p + 1) / 2) : 0;
}

std::string convertHtoZ(std::string_view s) {
  std::string r;
  std::size_t i = 0;
  while (i < s.size()) {
    const char b = s[i];
    if (static_cast<unsigned char>(b) < 0x80) {
      r += b;
      i += 1;
      continue;
    }
    if (const int n = lookup(HankakuKana, std::string(1, b)); n != 0) {
      const bool hasNext = i + 1 < s.size();
      if (hasNext && s[i + 1] == '\xDE') {
        const std::string voiced = entry(ZenkakuDakuon, n);
        r += voiced != entry(ZenkakuKana, n) ? voiced : entry(ZenkakuKana, n) + "\x81\x4A";
        i += 2;
      } else if (hasNext && s[i + 1] == '\xDF') {
        const std::string semiVoiced = entry(ZenkakuHandakuon, n);
        r += semiVoiced != entry(ZenkakuKana, n) ? semiVoiced : entry(ZenkakuKana, n) + "\x81\x4B";
        i += 2;
      } else {
        r += entry(ZenkakuKana, n);
        i += 1;
      }
      continue;
    }
    const std::string u = unitAt(s, i);
    const int n = lookup(LocalCodes, u);
    r += n != 0 ? entry(StandardCodes, n) : u;
    i += 2;
  }
  return r;
}

std::string convertZtoH(std::string_view s) {
  std::string r;
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) <= 0x7E) {
      r += s[i];
      i += 1;
      continue;
    }
    const std::string u = unitAt(s, i);
    if (const int n = lookup(ZenkakuHandakuon, u); n != 0 && !occursIn(ZenkakuKana, u)) {
      r += entry(HankakuKana, n) + "\xDF";
    } else if (const int v = lookup(ZenkakuDakuon, u); v != 0 && !occursIn(ZenkakuKana, u)) {
      r += entry(HankakuKana, v) + "\xDE";
    } else if (const int k = lookup(ZenkakuKana, u); k != 0) {
      r += entry(HankakuKana, k);
    } else if (const int c = lookup(StandardCodes, u); c != 0) {
      r += entry(LocalCodes, c);
    } else {
      r += u;
    }
    i += 2;
  }
  return r;
}

}  // namespace vesk::reference
