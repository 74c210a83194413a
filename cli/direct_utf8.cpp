#include "cli/direct_utf8.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "cli/text_filters.h"
#include "cli/utf8.h"
#include "cli/utf8_forms.h"
#include "conversion/rules.h"
#include "cp932/code_lookup.h"

namespace vesk::cli {
namespace {

// Bytes the direct loop reads past a character it converts (a word of
// ASCII, a letter's mark, units that straddle characters); the last of a
// text are left to the stages.
constexpr std::size_t kReadAhead = 8;
// Pieces of text converted with one sizing of the output: small at first,
// as runs between stretches the stages take are often short, then larger.
constexpr std::size_t kFirstPieceBytes = 128;
constexpr std::size_t kMaxPieceBytes = 8192;

// A character's form: up to six bytes of UTF-8 (the first lowest), a
// letter's code page 932 byte, the count of UTF-8 bytes (0: the character
// does not go direct) and flags.
using Form = std::uint64_t;
constexpr std::size_t kMaxFormBytes = 6;
constexpr unsigned kLetterByteShift = 48;
constexpr unsigned kLengthShift = 56;
constexpr Form kResynchronises = Form{1} << 60;
// A letter: its unit is one byte, or two with a mark after it.
constexpr Form kLetter = Form{1} << 61;
// A mark: kMark << m for the m-th mark.
constexpr Form kMark = Form{1} << 62;

// A character of one to three UTF-8 bytes, wholly inside the text; length 0
// for anything else (not UTF-8, cut off, or beyond U+FFFF).
struct Character {
  char16_t unit = 0;
  unsigned length = 0;
};

Character decodedAt(const unsigned char* at, std::size_t left) {
  const Utf8Sequence sequence = readUtf8({reinterpret_cast<const char*>(at), left}, 0);
  if (sequence.kind != Utf8Sequence::Kind::Valid || sequence.codePoint > 0xFFFF) return {};
  return {static_cast<char16_t>(sequence.codePoint), static_cast<unsigned>(sequence.length)};
}

// The character at at, where left bytes can be read: one of three bytes
// (most Japanese text) read inline, any other decoded in full.
[[gnu::always_inline]] inline Character characterAt(const unsigned char* at, std::size_t left) {
  if (left >= 3) {
    if (const char16_t unit = threeByteUnitAt(at); unit != 0) return {unit, 3};
  }
  return decodedAt(at, left);
}

// Whether the eight bytes at at are each below 0x7F: with kBelow7FBits, where
// such bytes go direct as themselves (with kNoBits, never).
constexpr std::uint64_t kBelow7FBits = 0x8080808080808080;
constexpr std::uint64_t kNoBits = ~std::uint64_t{0};
bool isWordBelow7F(const unsigned char* at, std::uint64_t bits) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  // A byte of 0x7F or more sets its high bit either way; adding one carries
  // into the next byte only from 0xFF. With every bit the test fails, as the
  // sum is never zero where the word is.
  return ((word | (word + 0x0101010101010101)) & bits) == 0;
}

// The UTF-8 that the code page 932 -> UTF-8 stage writes for the bytes of a
// step, with its length; nothing where it holds the last back (a lead byte,
// whose reading depends on what follows) or writes more than a form holds.
std::optional<Form> utf8Form(const rules::Step& step) {
  char bytes[4];
  for (unsigned i = 0; i < step.length; ++i) bytes[i] = static_cast<char>(step.bytes >> (8 * i));
  Cp932ToUtf8 stage;
  std::string utf8;
  stage.feed({bytes, step.length}, utf8);
  if (stage.holdsBack() || utf8.size() > kMaxFormBytes) return std::nullopt;
  Form form = Form{utf8.size()} << kLengthShift;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    form |= Form{static_cast<unsigned char>(utf8[i])} << (8 * i);
  }
  return form;
}

}  // namespace

DirectForms::DirectForms(Direction direction)
    : utf8_(utf8Forms()), forms_(0x10000, 0), singleByteLimit_(rules::singleByteLimit(direction)) {
  for (unsigned unit = 0; unit < forms_.size(); ++unit) {
    addCharacter(direction, static_cast<char16_t>(unit));
  }
  // A letter's mark must be a character of one byte, or a letter before a
  // character that begins with that byte would be taken for a plain letter.
  for (std::size_t m = 0; m < markCount_; ++m) {
    const char16_t mark = cp932::singleAt(marks_[m]);
    if (cp932::codeOf(mark) != marks_[m] || cp932::isLeadByte(marks_[m])) {
      for (Form& form : forms_) {
        if ((form & kLetter) != 0) form &= kResynchronises;
      }
      break;
    }
    forms_[mark] |= kMark << m;
  }
  below7FIsItself_ = true;
  for (unsigned byte = 0; byte < 0x7F; ++byte) {
    below7FIsItself_ &= (forms_[byte] & ~kResynchronises) == (byte | Form{1} << kLengthShift);
  }
  for (unsigned first = singleByteLimit_; first < 256; ++first) {
    for (unsigned second = 0; second < 256; ++second) {
      const rules::Step step = rules::stepAt(
          direction, {static_cast<unsigned char>(first), static_cast<unsigned char>(second), true});
      if (step.taken == 2 && step.copied) pairsCopied_.set(first << 8 | second);
    }
  }
}

void DirectForms::addCharacter(Direction direction, char16_t unit) {
  const std::uint16_t code = cp932::codeOf(unit);
  // The stages write no code for these (a byte order mark among them, which
  // they take apart at the start).
  if (code == 0 && unit != 0) return;
  // After a byte below the limit, a unit always ends.
  if ((code & 0xFF) < singleByteLimit_) forms_[unit] = kResynchronises;

  rules::Step step;
  if (code >= 0x100) {
    const auto lead = static_cast<unsigned char>(code >> 8);
    step = rules::stepAt(direction, {lead, static_cast<unsigned char>(code), true});
    if (step.taken != 2) return;
  } else if (code < singleByteLimit_) {
    step = rules::stepAt(direction, {static_cast<unsigned char>(code), 0, false});
  } else {
    addLetter(direction, unit, static_cast<unsigned char>(code));
    return;
  }
  if (const auto utf8 = utf8Form(step)) forms_[unit] |= *utf8;
}

// A byte at or above the limit goes direct only as a letter: a unit of its
// own but before a mark, which it takes with it.
void DirectForms::addLetter(Direction direction, char16_t unit, unsigned char letter) {
  std::array<unsigned char, 256> taking{};
  std::size_t count = 0;
  for (unsigned next = 0; next < 256; ++next) {
    const auto byte = static_cast<unsigned char>(next);
    if (rules::stepAt(direction, {letter, byte, true}).taken == 2) taking[count++] = byte;
  }
  if (count == 0 || count > kMaxMarks) return;
  if (markCount_ == 0) {
    std::copy_n(taking.begin(), count, marks_.begin());
    markCount_ = count;
  }
  if (count != markCount_ || !std::equal(marks_.begin(), marks_.begin() + count, taking.begin())) {
    return;
  }
  unsigned char notMark = 0;
  while (std::find(marks_.begin(), marks_.begin() + count, notMark) != marks_.begin() + count) {
    ++notMark;
  }
  const auto plain = utf8Form(rules::stepAt(direction, {letter, notMark, true}));
  if (!plain) return;
  for (std::size_t m = 0; m < count; ++m) {
    const auto marked = utf8Form(rules::stepAt(direction, {letter, marks_[m], true}));
    if (!marked) return;
    marked_[letter][m] = *marked;
  }
  forms_[unit] |= *plain | kLetter | Form{letter} << kLetterByteShift;
}

std::size_t DirectForms::convert(std::string_view text, std::string& out) const {
  const auto* const in = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  const std::size_t last = size > kReadAhead ? size - kReadAhead : 0;
  std::size_t pos = 0;
  std::size_t written = out.size();
  // In pieces, so that the room made for the output (filled with zeros by
  // std::string) stays near what is written: this runs again after every
  // stretch the stages take.
  for (std::size_t piece = kFirstPieceBytes; pos < last;
       piece = std::min(2 * piece, kMaxPieceBytes)) {
    const std::size_t pieceEnd = std::min(last, pos + piece);
    // No character writes more than three bytes for each of its own (six
    // for one of two), none reaches more than kReadAhead bytes past the
    // piece, and a form is stored whole.
    out.resize(written + 3 * (pieceEnd - pos + kReadAhead) + sizeof(Form));
    char* dst = out.data() + written;
    const bool whole = convertPiece(in, pos, pieceEnd, dst);
    written = static_cast<std::size_t>(dst - out.data());
    if (!whole) break;
  }
  out.resize(written);
  return pos;
}

bool DirectForms::convertPiece(const unsigned char* in, std::size_t& pos, std::size_t end,
                               char*& out) const {
  // In locals: a store through a char pointer could change any member, and
  // one whose address is taken lives in memory.
  const Form* const forms = forms_.data();
  const std::uint64_t below7FBits = below7FIsItself_ ? kBelow7FBits : kNoBits;
  char* dst = out;
  std::size_t at = pos;
  bool whole = true;
  while (at < end) {
    const unsigned lead = in[at];
    Character character{static_cast<char16_t>(lead), 1};
    if (lead < 0x80) {
      if (isWordBelow7F(in + at, below7FBits)) {
        std::memcpy(dst, in + at, 8);
        dst += 8;
        at += 8;
        continue;
      }
    } else {
      if constexpr (std::endian::native == std::endian::little) {
        // Most text outside ASCII is runs of characters of three bytes: two
        // at a time, where neither is a letter.
        std::uint64_t word;
        std::memcpy(&word, in + at, sizeof word);
        if ((word & 0xC0C0F0C0C0F0) == 0x8080E08080E0) {
          const auto first = static_cast<unsigned>((word & 0x0F) << 12 | (word >> 2 & 0xFC0) |
                                                   (word >> 16 & 0x3F));
          const auto second = static_cast<unsigned>((word >> 12 & 0xF000) | (word >> 26 & 0xFC0) |
                                                    (word >> 40 & 0x3F));
          const Form firstForm = forms[first];
          const Form secondForm = forms[second];
          const auto firstLength = static_cast<unsigned>(firstForm >> kLengthShift & 0xF);
          const auto secondLength = static_cast<unsigned>(secondForm >> kLengthShift & 0xF);
          // No overlong forms; a surrogate has no form.
          if (first >= 0x800 && second >= 0x800 && firstLength != 0 && secondLength != 0 &&
              ((firstForm | secondForm) & kLetter) == 0) {
            storePacked(dst, firstForm);
            dst += firstLength;
            storePacked(dst, secondForm);
            dst += secondLength;
            at += 6;
            continue;
          }
        }
      }
      character = characterAt(in + at, kReadAhead);
    }
    Form form = forms[character.unit];
    std::size_t taken = character.length;
    if ((form & kLetter) != 0) {
      // Whether a mark follows decides the letter's unit.
      const Character next = characterAt(in + at + taken, kReadAhead - taken);
      const Form nextForm = next.length == 0 ? 0 : forms[next.unit];
      for (std::size_t m = 0; m < markCount_; ++m) {
        if ((nextForm & kMark << m) != 0) {
          form = marked_[form >> kLetterByteShift & 0xFF][m];
          taken += next.length;
        }
      }
    }
    const auto length = static_cast<unsigned>(form >> kLengthShift & 0xF);
    if (character.length == 0 || length == 0) {
      if (character.length != 0) {
        if (const Reached reached = convertStraddle(in, at, end + kReadAhead, dst);
            reached.out != nullptr) {
          at = reached.at;
          dst = reached.out;
          continue;
        }
      }
      whole = false;
      break;
    }
    storePacked(dst, form);
    dst += length;
    at += taken;
  }
  pos = at;
  out = dst;
  return whole;
}

DirectForms::Reached DirectForms::convertStraddle(const unsigned char* in, std::size_t pos,
                                                  std::size_t size, char* out) const {
  const PackedUtf8* const pairs = utf8_.pairs.data();
  char* dst = out;
  std::size_t at = pos;
  int carried = -1;  // the first byte of the unit that waits for the next character
  // Straddles often follow one another (ｶﾞｲﾄﾞ in standard text): where one
  // ends, the next may start.
  Reached reached;
  while (at < size) {
    const Character character = characterAt(in + at, size - at);
    const std::uint16_t code = cp932::codeOf(character.unit);
    // Only characters with a code (a byte order mark has none).
    if (character.length == 0 || (code == 0 && character.unit != 0)) break;
    const auto first = static_cast<unsigned char>(code >= 0x100 ? code >> 8 : code);
    // A unit passes unchanged only where it takes two bytes: a letter before
    // anything but a mark ends the straddle.
    if (carried < 0) {
      // It starts with a character of one byte that reads as itself (and
      // takes the next: pairsCopied_ holds no unit of one byte).
      if (code >= 0x100 || cp932::isLeadByte(first)) break;
      carried = first;
    } else if (!pairsCopied_[static_cast<unsigned>(carried) << 8 | first]) {
      break;
    } else if (code < 0x100) {
      // A byte of its own that reads as itself in the output, not as the lead of what follows.
      if (cp932::isLeadByte(first)) break;
      carried = -1;
    } else {
      const auto second = static_cast<unsigned char>(code);
      carried = second >= singleByteLimit_ ? second : -1;
    }
    // The bytes pass unchanged: the character comes out as its own code reads.
    const PackedUtf8 packed = code < 0x100 ? utf8_.single[code] : pairs[code];
    storePacked(dst, packed);
    dst += packed >> kPackedLengthShift;
    at += character.length;
    if (carried < 0) reached = {at, dst};
  }
  return reached;
}

std::size_t DirectForms::resynchronisedAt(std::string_view text, std::size_t pos) const {
  const auto* const in = reinterpret_cast<const unsigned char*>(text.data());
  while (pos < text.size()) {
    const Character character = characterAt(in + pos, text.size() - pos);
    if (character.length == 0) {
      ++pos;  // not UTF-8: the stages decide what it is
      continue;
    }
    pos += character.length;
    if ((forms_[character.unit] & kResynchronises) != 0) return pos;
  }
  return pos;
}

const DirectForms& directForms(Direction direction) {
  if (direction == Direction::ToStandard) {
    static const DirectForms toStandard(Direction::ToStandard);
    return toStandard;
  }
  static const DirectForms toLocal(Direction::ToLocal);
  return toLocal;
}

}  // namespace vesk::cli
