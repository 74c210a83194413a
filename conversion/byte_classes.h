#pragma once

// Classifies the 64 bytes of a block at once, for the block path of the
// scanner: SSE2 (baseline on x86-64) where there is SSE2, byte by byte where
// there is not.

#include <cstddef>
#include <cstdint>

#include "conversion/unit_step.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vesk::detail {

inline constexpr std::size_t kClassBlockBytes = 64;

struct BlockClasses {
  std::uint64_t atLeastLimit;  // bit i: byte i is at or above the single-byte limit
  std::uint64_t takesNext;     // bit i: byte i, starting a unit, takes byte i + 1
};

#if defined(__SSE2__)

// Header-only and built once per conversion, so that the broadcast constants
// stay in registers across the blocks.
class ByteClassifier {
 public:
  explicit ByteClassifier(const ConversionSteps& steps)
      : limit_(broadcast(steps.singleByteLimit)),
        leadCount_(steps.markLeads.size()),
        markCount_(steps.marks.size()) {
    for (std::size_t i = 0; i < leadCount_; ++i) {
      leadFirst_[i] = broadcast(steps.markLeads[i].first);
      leadSpan_[i] = broadcast(steps.markLeads[i].last - steps.markLeads[i].first);
    }
    for (std::size_t i = 0; i < markCount_; ++i) mark_[i] = broadcast(steps.marks[i]);
  }

  // Bytes block[0] to block[64] must be readable: byte 63 looks at the byte after it.
  BlockClasses classify(const unsigned char* block) const {
    BlockClasses classes{0, 0};
    for (unsigned lane = 0; lane < kClassBlockBytes; lane += 16) {
      const __m128i bytes = load(block + lane);
      const __m128i next = load(block + lane + 1);
      const __m128i atLeast = atLeastLimit(bytes);
      // A mark lead takes the next byte only when that byte is a mark.
      const __m128i keepsNextOut = _mm_andnot_si128(isMark(next), isMarkLead(bytes));
      classes.atLeastLimit |= laneBits(atLeast, lane);
      classes.takesNext |= laneBits(_mm_andnot_si128(keepsNextOut, atLeast), lane);
    }
    return classes;
  }

 private:
  static __m128i broadcast(unsigned byte) { return _mm_set1_epi8(static_cast<char>(byte)); }
  static __m128i load(const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  }
  static std::uint64_t laneBits(__m128i flags, unsigned lane) {
    return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(flags))} << lane;
  }
  // SSE2 compares bytes as signed; unsigned order goes through min and max.
  __m128i atLeastLimit(__m128i bytes) const {
    return _mm_cmpeq_epi8(_mm_max_epu8(bytes, limit_), bytes);
  }
  __m128i isMarkLead(__m128i bytes) const {
    __m128i found = _mm_setzero_si128();
    for (std::size_t i = 0; i < leadCount_; ++i) {
      const __m128i offset = _mm_sub_epi8(bytes, leadFirst_[i]);
      found = _mm_or_si128(found, _mm_cmpeq_epi8(_mm_min_epu8(offset, leadSpan_[i]), offset));
    }
    return found;
  }
  __m128i isMark(__m128i bytes) const {
    __m128i found = _mm_setzero_si128();
    for (std::size_t i = 0; i < markCount_; ++i) {
      found = _mm_or_si128(found, _mm_cmpeq_epi8(bytes, mark_[i]));
    }
    return found;
  }

  __m128i limit_;
  std::size_t leadCount_;
  std::size_t markCount_;
  __m128i leadFirst_[kMaxMarkLeadRanges];
  __m128i leadSpan_[kMaxMarkLeadRanges];
  __m128i mark_[kMaxMarks];
};

#else

class ByteClassifier {
 public:
  explicit ByteClassifier(const ConversionSteps& steps) : steps_(steps) {}

  // Bytes block[0] to block[64] must be readable: byte 63 looks at the byte after it.
  BlockClasses classify(const unsigned char* block) const {
    BlockClasses classes{0, 0};
    for (unsigned i = 0; i < kClassBlockBytes; ++i) {
      if (block[i] < steps_.singleByteLimit) continue;
      classes.atLeastLimit |= std::uint64_t{1} << i;
      if (!isMarkLead(steps_, block[i]) || isMark(steps_, block[i + 1])) {
        classes.takesNext |= std::uint64_t{1} << i;
      }
    }
    return classes;
  }

 private:
  const ConversionSteps& steps_;
};

#endif

}  // namespace vesk::detail
