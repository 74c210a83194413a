// The rules of the local-to-standard conversion for one code unit.

#include "conversion/code_tables.h"
#include "conversion/step_derivation.h"

namespace vesk::detail {
namespace {

using namespace vesk::tables;

// A letter followed by a mark: its voiced (or semi-voiced) form where the
// table gives one, else the plain letter followed by the full-width mark.
constexpr UnitStep markedLetter(const CodeTable& markedForms, int n, std::string_view wideMark) {
  const std::string_view plain = entryAt(ZenkakuKana, n);
  const std::string_view marked = entryAt(markedForms, n);
  return marked != plain ? writeStep(marked, {}, 2) : writeStep(plain, wideMark, 2);
}

struct LocalToStandardRules {
  static constexpr unsigned kSingleByteLimit = 0x80;

  static constexpr bool hasOwnRow(unsigned char first) {
    const std::array<char, 2> unit{static_cast<char>(first), 0};
    return lookup(HankakuKana, oneByte(unit)) != kNoEntry || leadsAnEntry(LocalCodes, first);
  }

  static constexpr UnitStep step(std::string_view unit) {
    if (static_cast<unsigned char>(unit[0]) < kSingleByteLimit) return copyStep(1);
    if (const int n = lookup(HankakuKana, unit.substr(0, 1)); n != kNoEntry) {
      // Only the byte right after the letter can be its mark; voiced first.
      const char next = unit.size() > 1 ? unit[1] : 0;
      if (next == kVoicedMark) return markedLetter(ZenkakuDakuon, n, kWideVoicedMark);
      if (next == kSemiVoicedMark) return markedLetter(ZenkakuHandakuon, n, kWideSemiVoicedMark);
      return writeStep(entryAt(ZenkakuKana, n), {}, 1);
    }
    if (const int n = lookup(LocalCodes, unit); n != kNoEntry) {
      return writeStep(entryAt(StandardCodes, n), {}, unit.size());
    }
    return copyStep(unit.size());
  }
};

constexpr DerivedSteps<LocalToStandardRules> kDerived;

}  // namespace

constinit const ConversionSteps kLocalToStandardSteps = kDerived.steps();

}  // namespace vesk::detail
