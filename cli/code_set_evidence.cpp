#include "cli/code_set_evidence.h"

namespace vesk::cli {

namespace {

// The shape of Shift_JIS, not which codes code page 932 assigns: an
// unassigned pair is still a two-byte code of either code set.
bool isLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0; }
bool isTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }
bool isHalfWidthKana(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }
bool isMark(unsigned char byte) { return byte == 0xDE || byte == 0xDF; }

bool isStandardKana(unsigned code) {
  // ヮ (838E) and ヴ (8394) have no local form, so local text keeps them too.
  const bool hiragana = code >= 0x829F && code <= 0x82F1;
  const bool katakana = code >= 0x8340 && code <= 0x8396 && code != 0x838E && code != 0x8394;
  return hiragana || katakana;
}

}  // namespace

void CodeSetScanner::feed(std::string_view chunk) {
  if (evidence_.utf8Valid) feedUtf8(chunk);
  std::uint64_t offset = evidence_.bytes;
  for (const char c : chunk) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) ++evidence_.nonAsciiBytes;
    if (lead_ >= 0) {
      const auto lead = static_cast<unsigned char>(lead_);
      lead_ = -1;
      if (isTrail(byte)) {
        pair(lead, byte);
        ++offset;
        continue;
      }
      invalid(offset - 1);  // the lead; this byte starts afresh
    }
    single(byte, offset);
    ++offset;
  }
  evidence_.bytes = offset;
}

void CodeSetScanner::single(unsigned char byte, std::uint64_t offset) {
  const bool markable = afterKanaLetter_;
  afterKanaLetter_ = false;
  if (byte < 0x80) {
    if (byte == 0) ++evidence_.nulBytes;
  } else if (isHalfWidthKana(byte)) {
    ++evidence_.halfWidthKana;
    if (isMark(byte)) {
      if (markable) ++evidence_.separateMarks;
    } else {
      afterKanaLetter_ = true;
    }
  } else if (isLead(byte)) {
    lead_ = byte;
  } else {
    invalid(offset);
  }
}

void CodeSetScanner::pair(unsigned char lead, unsigned char trail) {
  if (lead >= 0xF0 && lead <= 0xF9) {
    ++evidence_.localCodes;
  } else if (isStandardKana(static_cast<unsigned>(lead << 8 | trail))) {
    ++evidence_.standardKana;
  }
}

void CodeSetScanner::invalid(std::uint64_t offset) {
  if (evidence_.invalidBytes++ == 0) evidence_.firstInvalidOffset = offset;
}

void CodeSetScanner::feedUtf8(std::string_view chunk) {
  if (!evidence_.utf8Valid) return;
  std::string_view text = chunk;
  if (!utf8Pending_.empty()) {
    utf8Joined_.assign(utf8Pending_).append(chunk);
    utf8Pending_.clear();
    text = utf8Joined_;
  }
  for (std::size_t pos = 0; pos < text.size();) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const Utf8Sequence sequence = readUtf8(text, pos);
    if (sequence.kind == Utf8Sequence::Kind::Unfinished) {
      utf8Pending_.assign(text.substr(pos));
      return;
    }
    if (sequence.kind == Utf8Sequence::Kind::Invalid) {
      evidence_.utf8Valid = false;
      return;
    }
    ++evidence_.utf8NonAscii;
    pos += sequence.length;
  }
}

CodeSetEvidence CodeSetScanner::finish() {
  if (lead_ >= 0) invalid(evidence_.bytes - 1);
  if (!utf8Pending_.empty()) evidence_.utf8Valid = false;
  const CodeSetEvidence evidence = evidence_;
  *this = CodeSetScanner();
  return evidence;
}

}  // namespace vesk::cli
