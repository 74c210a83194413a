// The rules of the standard-to-local conversion for one code unit.

#include "conversion/code_tables.h"
#include "conversion/step_derivation.h"

namespace vesk::detail {
namespace {

using namespace vesk::tables;

// A voiced or semi-voiced letter is one whose code is in the marked table but
// nowhere in the plain one; it becomes the half-width letter and its mark.
constexpr int markedLetter(const CodeTable& markedForms, std::string_view unit) {
  const int n = lookup(markedForms, unit);
  return n != kNoEntry && !occursIn(ZenkakuKana, unit) ? n : kNoEntry;
}

struct StandardToLocalRules {
  static constexpr unsigned kSingleByteLimit = 0x7F;

  static constexpr bool hasOwnRow(unsigned char first) {
    return leadsAnEntry(ZenkakuKana, first) || leadsAnEntry(ZenkakuDakuon, first) ||
           leadsAnEntry(ZenkakuHandakuon, first) || leadsAnEntry(StandardCodes, first);
  }

  static constexpr UnitStep step(std::string_view unit) {
    if (static_cast<unsigned char>(unit[0]) < kSingleByteLimit) return copyStep(1);
    const std::size_t size = unit.size();
    const std::string_view voiced{&kVoicedMark, 1};
    const std::string_view semiVoiced{&kSemiVoicedMark, 1};
    if (const int n = markedLetter(ZenkakuHandakuon, unit); n != kNoEntry) {
      return writeStep(entryAt(HankakuKana, n), semiVoiced, size);
    }
    if (const int n = markedLetter(ZenkakuDakuon, unit); n != kNoEntry) {
      return writeStep(entryAt(HankakuKana, n), voiced, size);
    }
    if (const int n = lookup(ZenkakuKana, unit); n != kNoEntry) {
      return writeStep(entryAt(HankakuKana, n), {}, size);
    }
    if (const int n = lookup(StandardCodes, unit); n != kNoEntry) {
      return writeStep(entryAt(LocalCodes, n), {}, size);
    }
    return copyStep(size);
  }
};

constexpr DerivedSteps<StandardToLocalRules> kDerived;

}  // namespace

constinit const ConversionSteps kStandardToLocalSteps = kDerived.steps();

}  // namespace vesk::detail
