#include "conversion/kernels/avx512/avx512_kernel.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "conversion/kernels/avx512/step_bytes.h"
#include "conversion/kernels/unit_starts.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VESK_AVX512_BLOCKS 1
// Only these functions use the instructions; the rest of the program, and
// anything inline this file shares with it, stays baseline x86-64.
#define VESK_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))
#endif

namespace vesk::detail {

#if defined(VESK_AVX512_BLOCKS)

namespace {

using Mask = std::uint64_t;

constexpr Mask kFirstBytes = 0x5555'5555'5555'5555;  // of each two-byte place
constexpr Mask kSecondBytes = ~kFirstBytes;

// Byte indices for two-register permutes; bit 6 picks the second register.
// Lane j from lane j - 1 of the first register, lane 0 from the last lane of
// the second.
constexpr std::array<std::uint8_t, 64> kFromBeforeIndex = [] {
  std::array<std::uint8_t, 64> index{};
  index[0] = 127;
  for (std::uint8_t j = 1; j < 64; ++j) index[j] = static_cast<std::uint8_t>(j - 1);
  return index;
}();
// Lanes start to start + 31 of the first register, each followed by the
// same lane of the second.
constexpr std::array<std::uint8_t, 64> interleaveIndex(std::uint8_t start) {
  std::array<std::uint8_t, 64> index{};
  for (std::uint8_t j = 0; j < 64; ++j) {
    index[j] = static_cast<std::uint8_t>(start + j / 2 + (j % 2) * 64);
  }
  return index;
}
constexpr std::array<std::uint8_t, 64> kInterleaveLowIndex = interleaveIndex(0);
constexpr std::array<std::uint8_t, 64> kInterleaveHighIndex = interleaveIndex(32);

// What a block hands to the next, whose first byte may be the second of a
// pair that starts at the block's last byte.
struct Carry {
  VESK_AVX512 Carry() : third(_mm512_setzero_si512()), fourth(third) {}

  // The last two bytes of each unit's step, by the unit's place.
  __m512i third;
  __m512i fourth;
  // 1 when the next block's first byte ends a pair; when that pair converts;
  // when its step has more than two bytes, the rest written there.
  Mask pairOpen = 0;
  Mask pairReplaced = 0;
  Mask spills = 0;
};

VESK_AVX512 __m512i load(const void* at) { return _mm512_loadu_si512(at); }

VESK_AVX512 Mask nonZero(__m512i bytes) { return _mm512_test_epi8_mask(bytes, bytes); }

VESK_AVX512 unsigned char lastByte(__m512i bytes) {
  alignas(64) unsigned char lanes[64];
  _mm512_store_si512(lanes, bytes);
  return lanes[63];
}

// Byte i of the step of each unit of a block, by the unit's place.
struct StepBytesAt {
  __m512i byte[4];
};

// A 128-byte table looked up by the low seven bits of each byte.
class ByteTable {
 public:
  VESK_AVX512 explicit ByteTable(std::span<const std::uint8_t, 128> table)
      : low_(load(table.data())), high_(load(table.data() + 64)) {}
  VESK_AVX512 __m512i operator[](__m512i bytes) const {
    return _mm512_permutex2var_epi8(low_, bytes, high_);
  }

 private:
  __m512i low_;
  __m512i high_;
};

class BlockConverter {
 public:
  VESK_AVX512 explicit BlockConverter(const UnitShape& shape, const StepBytes& steps)
      : limit_(_mm512_set1_epi8(static_cast<char>(shape.singleByteLimit))),
        markCount_(shape.markCount),
        markLead_(steps.markLead),
        windowStart_(steps.windowStart),
        windowSize_(steps.windowSize),
        permute_(steps.permute),
        entry_(steps.entry),
        written_(steps.written),
        fromBefore_(load(kFromBeforeIndex.data())),
        interleaveLow_(load(kInterleaveLowIndex.data())),
        interleaveHigh_(load(kInterleaveHighIndex.data())) {
    for (std::size_t i = 0; i < markCount_; ++i) {
      mark_[i] = _mm512_set1_epi8(static_cast<char>(shape.markBytes[i]));
    }
  }

  // Converts the units that start in the block; block[64] must be readable.
  // Returns the new output end.
  VESK_AVX512 unsigned char* convert(const unsigned char* block, unsigned char* dst,
                                     Carry& carry) const {
    const __m512i bytes = load(block);
    const Mask high = _mm512_cmpge_epu8_mask(bytes, limit_);
    if (high == 0 && carry.pairReplaced == 0) {
      _mm512_storeu_si512(dst, bytes);
      carry.pairOpen = 0;
      return dst + 64;
    }
    const __m512i next = load(block + 1);
    const Mask lead = markCount_ == 0 ? 0 : nonZero(markLead_[bytes]) & _mm512_movepi8_mask(bytes);
    // Which mark follows, counted from 1; 0 for none.
    __m512i markNumber = _mm512_setzero_si512();
    Mask mark = 0;
    for (std::size_t i = 0; i < markCount_; ++i) {
      const Mask isThis = _mm512_cmpeq_epi8_mask(next, mark_[i]);
      markNumber =
          _mm512_mask_mov_epi8(markNumber, isThis, _mm512_set1_epi8(static_cast<char>(i + 1)));
      mark |= isThis;
    }
    // A mark lead keeps the next byte out of its unit unless that byte is a
    // mark. A first byte that ends the last block's pair starts nothing.
    const Mask pairs = twoByteUnitStarts(high & ~(lead & ~mark) & ~carry.pairOpen);
    const Mask starts = ~(pairs << 1) & ~carry.pairOpen;
    carry.pairOpen = pairs >> 63;

    // Where each unit's step is: its first byte's entry, plus the place of
    // its second byte in the window, or the mark number.
    const __m512i offset =
        _mm512_mask_mov_epi8(_mm512_sub_epi8(next, windowStart_[bytes]), lead, markNumber);
    const Mask inWindow = _mm512_cmplt_epu8_mask(offset, windowSize_[bytes]) | lead;
    const Mask converting = starts & _mm512_movepi8_mask(bytes) & inWindow;
    if (converting == 0 && carry.pairReplaced == 0) {
      _mm512_storeu_si512(dst, bytes);
      return dst + 64;
    }
    const StepBytesAt written =
        lookUp(_mm512_add_epi8(entry_[bytes], offset), permute_[bytes], converting);
    return place(bytes, written, pairs, carry, dst);
  }

  // The rest of a pair that starts at the last byte of the last block, whose
  // second byte is at next: that byte when the pair is copied, the last two
  // bytes of its step when it converts to more than two. Returns the new
  // output end.
  VESK_AVX512 static unsigned char* finish(const Carry& carry, const unsigned char* next,
                                           unsigned char* dst) {
    if (carry.pairOpen == 0) return dst;
    if (carry.pairReplaced == 0) {
      *dst = *next;
      return dst + 1;
    }
    if (carry.spills == 0) return dst;
    dst[0] = lastByte(carry.third);
    dst[1] = lastByte(carry.fourth);
    // The step's bytes that are not zero come first.
    return dst + 1 + (dst[1] != 0);
  }

 private:
  // Byte i of the step of each unit in units, by keys within the permute
  // which; zero elsewhere.
  VESK_AVX512 StepBytesAt lookUp(__m512i keys, __m512i which, Mask units) const {
    StepBytesAt written{{_mm512_setzero_si512(), _mm512_setzero_si512(), _mm512_setzero_si512(),
                         _mm512_setzero_si512()}};
    // Byte 0 of every step that converts is not zero: its table is the longest.
    // Both loops unrolled whatever the optimisation level, so that the four
    // byte registers stay registers (half the speed otherwise).
#pragma GCC unroll 8
    for (std::size_t at = 0; at < written_[0].size(); at += kBytesPerPermute) {
      const Mask here =
          units &
          _mm512_cmpeq_epi8_mask(which, _mm512_set1_epi8(static_cast<char>(at / kBytesPerPermute)));
#pragma GCC unroll 4
      for (std::size_t i = 0; i < 4; ++i) {
        if (at >= written_[i].size()) break;
        const std::uint8_t* const table = written_[i].data() + at;
        written.byte[i] = _mm512_mask_mov_epi8(
            written.byte[i], here, _mm512_permutex2var_epi8(load(table), keys, load(table + 64)));
      }
    }
    return written;
  }

  // Every place of the block writes two bytes, of which the compress keeps
  // those that are written: its own byte, or the first two bytes of the unit
  // that starts there, or the last two of the pair that starts before it. A
  // step that converts writes no zero byte, which tells its unused bytes from
  // the rest, and one that copies its unit writes none at all.
  VESK_AVX512 unsigned char* place(__m512i bytes, const StepBytesAt& written, Mask pairs,
                                   Carry& carry, unsigned char* dst) const {
    const Mask replaced = nonZero(written.byte[0]);
    const Mask replacedPairs = replaced & pairs;
    const Mask spillingPairs = replacedPairs & nonZero(written.byte[2]);
    // The second byte of a pair that converts writes the last two bytes of
    // its step, when it has more than two.
    const Mask ending = replacedPairs << 1 | carry.pairReplaced;
    const Mask spilling = spillingPairs << 1 | carry.spills;
    __m512i first = _mm512_mask_mov_epi8(bytes, replaced, written.byte[0]);
    __m512i second = _mm512_maskz_mov_epi8(replaced, written.byte[1]);
    if (spilling != 0) {
      first = _mm512_mask_mov_epi8(
          first, spilling, _mm512_permutex2var_epi8(written.byte[2], fromBefore_, carry.third));
      second = _mm512_mask_mov_epi8(
          second, spilling, _mm512_permutex2var_epi8(written.byte[3], fromBefore_, carry.fourth));
    }
    carry.third = written.byte[2];
    carry.fourth = written.byte[3];
    carry.pairReplaced = replacedPairs >> 63;
    carry.spills = spillingPairs >> 63;

    const Mask keptFirst = ~ending | spilling;
    const Mask keptSecond = nonZero(second);
    dst = store(_mm512_permutex2var_epi8(first, interleaveLow_, second),
                _pdep_u64(keptFirst, kFirstBytes) | _pdep_u64(keptSecond, kSecondBytes), dst);
    return store(
        _mm512_permutex2var_epi8(first, interleaveHigh_, second),
        _pdep_u64(keptFirst >> 32, kFirstBytes) | _pdep_u64(keptSecond >> 32, kSecondBytes), dst);
  }

  VESK_AVX512 static unsigned char* store(__m512i places, Mask kept, unsigned char* dst) {
    _mm512_storeu_si512(dst, _mm512_maskz_compress_epi8(kept, places));
    return dst + std::popcount(kept);
  }

  __m512i limit_;
  std::size_t markCount_;
  ByteTable markLead_;
  ByteTable windowStart_;
  ByteTable windowSize_;
  ByteTable permute_;
  ByteTable entry_;
  std::array<std::span<const std::uint8_t>, 4> written_;
  __m512i fromBefore_;
  __m512i interleaveLow_;
  __m512i interleaveHigh_;
  __m512i mark_[UnitShape::kMaxMarks];
};

constexpr StepByteTables kLocalToStandard{Direction::ToStandard};
constexpr StepByteTables kStandardToLocal{Direction::ToLocal};
constinit const StepBytes kLocalToStandardBytes = kLocalToStandard.view();
constinit const StepBytes kStandardToLocalBytes = kStandardToLocal.view();

bool runsHere() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
         __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi") &&
         __builtin_cpu_supports("bmi2");
}

// Converts 64-byte blocks, the first starting at in and the last before
// stop, for as long as 65 bytes remain before end (a block looks at the byte
// after it). Each block stores up to 128 bytes from where its output starts.
VESK_AVX512 void convert(Direction direction, const unsigned char*& in, const unsigned char* stop,
                         const unsigned char* end, unsigned char*& dst) {
  const bool toStandard = direction == Direction::ToStandard;
  const BlockConverter converter(toStandard ? kLocalToStandard.shape() : kStandardToLocal.shape(),
                                 toStandard ? kLocalToStandardBytes : kStandardToLocalBytes);
  // Blocks follow one another at 64 bytes whatever their units, so that the
  // next block's loads need not wait for this one's unit starts.
  Carry carry;
  const unsigned char* at = in;
  unsigned char* out = dst;
  while (at < stop && end - at > 64) {
    out = converter.convert(at, out, carry);
    at += 64;
  }
  dst = BlockConverter::finish(carry, at, out);
  in = at + carry.pairOpen;
}

}  // namespace

const Kernel kAvx512Kernel{"avx512", &runsHere, &convert};

#else

const Kernel kAvx512Kernel{"avx512", &runsNowhere, &convertsNothing};

#endif

}  // namespace vesk::detail
