#include "conversion/avx512_blocks.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "conversion/unit_starts.h"

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

constexpr Mask kLowBytes = 0x5555'5555'5555'5555;

// Word indices for a two-register permute: lane j from lane j - 1 of the
// first register, lane 0 from the last lane of the second.
constexpr std::array<std::uint16_t, 32> kFromBeforeIndex = [] {
  std::array<std::uint16_t, 32> index{};
  index[0] = 63;
  for (std::uint16_t j = 1; j < 32; ++j) index[j] = static_cast<std::uint16_t>(j - 1);
  return index;
}();

// What the last place of a half hands to the first place of the next: the
// last two bytes of a pair that converts.
struct Spill {
  __m512i high;
  std::uint32_t into;  // 1 when the next half's first place takes them
};

struct BlockResult {
  unsigned taken;
  unsigned written;
};

VESK_AVX512 __m512i load(const void* at) { return _mm512_loadu_si512(at); }

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

// The words of table at keys, in lanes; zero in the others. One permute
// reads 64 words.
VESK_AVX512 __m512i lookUpWords(std::span<const std::uint16_t> table, __m512i keys,
                                std::uint32_t lanes) {
  const __m512i permuteOf = _mm512_srli_epi16(keys, 6);
  __m512i words = _mm512_setzero_si512();
  for (std::size_t at = 0; at < table.size(); at += 64) {
    const __m512i found =
        _mm512_permutex2var_epi16(load(table.data() + at), keys, load(table.data() + at + 32));
    const std::uint32_t here = _mm512_cmpeq_epi16_mask(
        permuteOf, _mm512_set1_epi16(static_cast<short>(at / 64)));
    words = _mm512_mask_mov_epi16(words, lanes & here, found);
  }
  return words;
}

VESK_AVX512 __m512i widen(__m512i bytes, int half) {
  return _mm512_cvtepu8_epi16(half == 0 ? _mm512_castsi512_si256(bytes)
                                        : _mm512_extracti64x4_epi64(bytes, 1));
}

class BlockConverter {
 public:
  VESK_AVX512 explicit BlockConverter(const ConversionSteps& steps)
      : limit_(_mm512_set1_epi8(static_cast<char>(steps.singleByteLimit))),
        leadCount_(steps.markLeads.size()),
        markCount_(steps.marks.size()),
        windowStart_(steps.words.windowStart),
        windowSize_(steps.words.windowSize),
        entryLow_(steps.words.entryLow),
        entryHigh_(steps.words.entryHigh),
        low_(steps.words.low),
        high_(steps.words.high),
        fromBefore_(load(kFromBeforeIndex.data())) {
    for (std::size_t i = 0; i < leadCount_; ++i) {
      leadFirst_[i] = _mm512_set1_epi8(static_cast<char>(steps.markLeads[i].first));
      leadSpan_[i] =
          _mm512_set1_epi8(static_cast<char>(steps.markLeads[i].last - steps.markLeads[i].first));
    }
    for (std::size_t i = 0; i < markCount_; ++i) {
      mark_[i] = _mm512_set1_epi8(static_cast<char>(steps.marks[i]));
    }
  }

  // Converts the units of the block; block[64] must be readable.
  VESK_AVX512 BlockResult convert(const unsigned char* block, unsigned char* dst) const {
    const __m512i bytes = load(block);
    const Mask high = _mm512_cmpge_epu8_mask(bytes, limit_);
    if (high == 0) {
      _mm512_storeu_si512(dst, bytes);
      return {64, 64};
    }
    const __m512i next = load(block + 1);
    Mask lead = 0;
    for (std::size_t i = 0; i < leadCount_; ++i) {
      lead |= _mm512_cmple_epu8_mask(_mm512_sub_epi8(bytes, leadFirst_[i]), leadSpan_[i]);
    }
    // Which mark follows, counted from 1; 0 for none.
    __m512i markNumber = _mm512_setzero_si512();
    Mask mark = 0;
    for (std::size_t i = 0; i < markCount_; ++i) {
      const Mask isThis = _mm512_cmpeq_epi8_mask(next, mark_[i]);
      markNumber =
          _mm512_mask_mov_epi8(markNumber, isThis, _mm512_set1_epi8(static_cast<char>(i + 1)));
      mark |= isThis;
    }
    // A mark lead keeps the next byte out of its unit unless that byte is a mark.
    const Mask pairs = twoByteUnitStarts(high & ~(lead & ~mark));
    // A pair at the last byte is left to the next block, which starts with it.
    const unsigned leftOver = static_cast<unsigned>(pairs >> 63);
    const Mask inBlock = ~Mask{0} >> leftOver;

    // Where each unit's step is among the words: its first byte's entry,
    // plus the place of its second byte in the window, or the mark number.
    const __m512i offset = _mm512_mask_mov_epi8(_mm512_sub_epi8(next, windowStart_[bytes]), lead,
                                                markNumber);
    const Mask inWindow = _mm512_cmplt_epu8_mask(offset, windowSize_[bytes]) | lead;
    const Mask converting = ~(pairs << 1) & inBlock & _mm512_movepi8_mask(bytes) & inWindow;
    if (converting == 0) {
      _mm512_storeu_si512(dst, bytes);
      return {64 - leftOver, 64 - leftOver};
    }
    const BlockUnits units{bytes,      offset, entryLow_[bytes], entryHigh_[bytes],
                           converting, pairs,  inBlock};
    Spill spill{_mm512_setzero_si512(), 0};
    unsigned char* out = convertHalf<0>(units, spill, dst);
    out = convertHalf<1>(units, spill, out);
    return {64 - leftOver, static_cast<unsigned>(out - dst)};
  }

 private:
  struct BlockUnits {
    __m512i bytes;
    __m512i offset;
    __m512i entryLow;
    __m512i entryHigh;
    Mask converting;
    Mask pairs;
    Mask inBlock;
  };

  // The 32 places of one half, as 16-bit lanes. A place holds its own byte,
  // or the first two bytes of the unit that starts there, or the last two of
  // the pair that starts before it; one compress then keeps the bytes
  // written. A converting step writes no zero byte, which tells its unused
  // bytes from the rest, and one that copies its unit writes none at all.
  template <int kHalf>
  VESK_AVX512 unsigned char* convertHalf(const BlockUnits& units, Spill& spill,
                                         unsigned char* dst) const {
    constexpr int kShift = 32 * kHalf;
    const auto converting = static_cast<std::uint32_t>(units.converting >> kShift);
    const auto taken = static_cast<std::uint32_t>(units.inBlock >> kShift);
    if (converting == 0 && spill.into == 0) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst),
                          _mm512_extracti64x4_epi64(units.bytes, kHalf));
      spill = {_mm512_setzero_si512(), 0};
      return dst + std::popcount(taken);
    }

    const __m512i keys =
        _mm512_add_epi16(_mm512_or_si512(widen(units.entryLow, kHalf),
                                         _mm512_slli_epi16(widen(units.entryHigh, kHalf), 8)),
                         widen(units.offset, kHalf));
    const __m512i lowAt = lookUpWords(low_, keys, converting);
    const __m512i highAt = lookUpWords(high_, keys, converting);
    const __m512i written = _mm512_or_si512(lowAt, highAt);
    const std::uint32_t replaced = _mm512_test_epi16_mask(written, written);
    const std::uint32_t replacedPairs = replaced & static_cast<std::uint32_t>(units.pairs >> kShift);
    const std::uint32_t spillAt = replacedPairs << 1 | spill.into;

    __m512i place = widen(units.bytes, kHalf);
    place = _mm512_mask_mov_epi16(place, replaced, lowAt);
    place = _mm512_mask_mov_epi16(place, spillAt,
                                  _mm512_permutex2var_epi16(highAt, fromBefore_, spill.high));
    const Mask fromTable = _mm512_movepi8_mask(_mm512_movm_epi16(replaced | spillAt));
    const Mask kept = (_mm512_test_epi8_mask(place, place) & fromTable) |
                      (_pdep_u64(taken, kLowBytes) & ~fromTable);
    _mm512_storeu_si512(dst, _mm512_maskz_compress_epi8(kept, place));
    spill = {highAt, replacedPairs >> 31};
    return dst + std::popcount(kept);
  }

  __m512i limit_;
  std::size_t leadCount_;
  std::size_t markCount_;
  ByteTable windowStart_;
  ByteTable windowSize_;
  ByteTable entryLow_;
  ByteTable entryHigh_;
  std::span<const std::uint16_t> low_;
  std::span<const std::uint16_t> high_;
  __m512i fromBefore_;
  __m512i leadFirst_[kMaxMarkLeadRanges];
  __m512i leadSpan_[kMaxMarkLeadRanges];
  __m512i mark_[kMaxMarks];
};

}  // namespace

bool avx512BlocksSupported() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
         __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi") &&
         __builtin_cpu_supports("bmi2");
}

VESK_AVX512 void convertAvx512Blocks(const ConversionSteps& steps, const unsigned char*& in,
                                     const unsigned char* blockEnd, const unsigned char* end,
                                     unsigned char*& dst) {
  const BlockConverter converter(steps);
  const unsigned char* at = in;
  unsigned char* out = dst;
  while (at < blockEnd && end - at > 64) {
    const BlockResult result = converter.convert(at, out);
    at += result.taken;
    out += result.written;
  }
  in = at;
  dst = out;
}

#else

bool avx512BlocksSupported() { return false; }

// Never called where the check above says no.
void convertAvx512Blocks(const ConversionSteps&, const unsigned char*&, const unsigned char*,
                         const unsigned char*, unsigned char*&) {}

#endif

}  // namespace vesk::detail
