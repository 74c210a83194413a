#pragma once

// Classifies the 64 bytes of a block at once, for the portable kernel: SSE2
// (baseline on x86-64) where there is SSE2, byte by byte where there is not.

#include <cstddef>
#include <cstdint>

#include "conversion/kernels/unit_shape.h"

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
  explicit ByteClassifier(const UnitShape& shape)
      : limit_(broadcast(shape.singleByteLimit)),
        leadCount_(shape.markLeadRangeCount),
        markCount_(shape.markCount) {
    for (std::size_t i = 0; i < leadCount_; ++i) {
      leadFirst_[i] = broadcast(shape.markLeadRanges[i].first);
      leadSpan_[i] = broadcast(shape.markLeadRanges[i].last - shape.markLeadRanges[i].first);
    }
    for (std::size_t i = 0; i < markCount_; ++i) mark_[i] = broadcast(shape.markBytes[i]);
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
  __m128i leadFirst_[UnitShape::kMaxMarkLeadRanges];
  __m128i leadSpan_[UnitShape::kMaxMarkLeadRanges];
  __m128i mark_[UnitShape::kMaxMarks];
};

#else

class ByteClassifier {
 public:
  explicit ByteClassifier(const UnitShape& shape) : shape_(shape) {}

  // Bytes block[0] to block[64] must be readable: byte 63 looks at the byte after it.
  BlockClasses classify(const unsigned char* block) const {
    BlockClasses classes{0, 0};
    for (unsigned i = 0; i < kClassBlockBytes; ++i) {
      if (block[i] < shape_.singleByteLimit) continue;
      classes.atLeastLimit |= std::uint64_t{1} << i;
      if (!shape_.isMarkLead(block[i]) || shape_.isMark(block[i + 1])) {
        classes.takesNext |= std::uint64_t{1} << i;
      }
    }
    return classes;
  }

 private:
  const UnitShape& shape_;
};

#endif

}  // namespace vesk::detail
