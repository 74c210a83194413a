#include "conversion/kernels/avx2/avx2_kernel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "conversion/kernels/avx2/avx2_layout.h"
#include "conversion/kernels/unit_starts.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VESK_AVX2_KERNEL 1
// Only these functions use the instructions; the rest of the program, and
// anything inline this file shares with it, stays baseline x86-64.
#define VESK_AVX2_TARGET __attribute__((target("avx2,bmi,bmi2,popcnt")))
#define VESK_AVX2 VESK_AVX2_TARGET __attribute__((always_inline)) inline
#endif

namespace vesk::detail {

#if defined(VESK_AVX2_KERNEL)

namespace {

using namespace avx2;

using Mask = std::uint64_t;
using Shuffles = std::array<std::array<std::uint8_t, 16>, 256>;

constexpr Layout kLocalToStandard = deriveLayout(Direction::ToStandard);
constexpr Layout kStandardToLocal = deriveLayout(Direction::ToLocal);

// Shuffles by an 8-bit mask. Gathering: the bytes of eight (from byte 0, or
// from byte 8) whose bit is set, to the front. Spreading: the first and
// second bytes of eight places, interleaved; every first byte, and the
// second of place i where bit i is set.
constexpr Shuffles gathering(unsigned from) {
  Shuffles shuffles{};
  for (unsigned kept = 0; kept < 256; ++kept) {
    unsigned to = 0;
    for (unsigned byte = 0; byte < 8; ++byte) {
      if ((kept >> byte & 1) != 0) shuffles[kept][to++] = static_cast<std::uint8_t>(from + byte);
    }
  }
  return shuffles;
}
constexpr Shuffles spreading() {
  Shuffles shuffles{};
  for (unsigned seconds = 0; seconds < 256; ++seconds) {
    unsigned to = 0;
    for (unsigned place = 0; place < 8; ++place) {
      shuffles[seconds][to++] = static_cast<std::uint8_t>(2 * place);
      if ((seconds >> place & 1) != 0)
        shuffles[seconds][to++] = static_cast<std::uint8_t>(2 * place + 1);
    }
  }
  return shuffles;
}
alignas(16) constexpr Shuffles kGatherLow = gathering(0);
alignas(16) constexpr Shuffles kGatherHigh = gathering(8);
alignas(16) constexpr Shuffles kSpreadPlaces = spreading();

// Each byte value in every place, for vectors of one byte loaded rather
// than built: GCC sees through a load of known bytes and builds the vector
// from a general register instead, three instructions for one load. An
// empty asm hides where the bytes are.
alignas(32) constexpr std::array<std::array<std::uint8_t, 32>, 256> kSplats = [] {
  std::array<std::array<std::uint8_t, 32>, 256> splats{};
  for (unsigned byte = 0; byte < 256; ++byte) splats[byte].fill(static_cast<std::uint8_t>(byte));
  return splats;
}();

// The bit of each low nibble in a byte of bits: 1 << (nibble % 8).
alignas(32) constexpr std::array<std::uint8_t, 32> kBitOfNibble = [] {
  std::array<std::uint8_t, 32> bits{};
  for (unsigned i = 0; i < 32; ++i) bits[i] = static_cast<std::uint8_t>(1u << (i % 8));
  return bits;
}();

// Tables of 16 per nibble with each table in both 16-byte lanes.
template <std::size_t kNibbles>
using WideTables = std::array<std::array<std::uint8_t, 32>, kNibbles>;

template <std::size_t kNibbles, std::size_t kSize>
constexpr WideTables<kNibbles> widened(const std::array<std::uint8_t, kSize>& tables) {
  WideTables<kNibbles> wide{};
  for (std::size_t q = 0; q < kNibbles; ++q) {
    for (std::size_t i = 0; i < 32; ++i) wide[q][i] = tables[16 * q + i % 16];
  }
  return wide;
}

// The tables of pairs in cells, each in both lanes.
struct WideCells {
  explicit constexpr WideCells(const PairCells& cells)
      : base(widened<1>(cells.cellBase)),
        first(widened<1>(cells.first)),
        lead(widened<1>(cells.lead)),
        lowBits(widened<1>(cells.lowBits)),
        highBits(widened<1>(cells.highBits)),
        add(widened<1>(cells.add)) {}

  alignas(32) WideTables<1> base, first, lead, lowBits, highBits, add;
};

VESK_AVX2 __m256i load(const void* at) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(at));
}
VESK_AVX2 void store(void* at, __m256i bytes) {
  _mm256_storeu_si256(static_cast<__m256i*>(at), bytes);
}
template <unsigned kByte>
VESK_AVX2 __m256i splat() {
  const std::array<std::uint8_t, 32>* splats = kSplats.data();
  __asm__("" : "+r"(splats));
  return load(splats[kByte & 0xFF].data());
}
VESK_AVX2 __m256i isZero(__m256i bytes) { return _mm256_cmpeq_epi8(bytes, _mm256_setzero_si256()); }
VESK_AVX2 std::uint32_t bits(__m256i bytes) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes));
}
VESK_AVX2 Mask bits(__m256i low, __m256i high) { return bits(low) | Mask{bits(high)} << 32; }
// x where it is not zero, else otherwise.
VESK_AVX2 __m256i orElse(__m256i x, __m256i otherwise) {
  return _mm256_blendv_epi8(x, otherwise, isZero(x));
}

// Each bit of half a mask, as a byte of all ones or all zeros.
VESK_AVX2 __m256i expand(Mask mask, unsigned half) {
  const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2,
                                          2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3);
  const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201));
  const __m256i bytes = _mm256_shuffle_epi8(
      _mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(mask >> (32 * half)))), spread);
  return _mm256_cmpeq_epi8(_mm256_and_si256(bytes, bit), bit);
}

// The bytes one place on: place i gets place i - 1, place 0 the last of before.
VESK_AVX2 __m256i onePlaceOn(__m256i bytes, __m256i before) {
  return _mm256_alignr_epi8(bytes, _mm256_permute2x128_si256(before, bytes, 0x21), 15);
}

// Where bytes look in tables of 16 per high nibble from kBase, kept in the
// XOR form avx2_layout.h describes. Each lookup works out the places it
// looks at again: one addition each, cheaper than keeping them in
// registers, which run out and spill.
template <std::size_t kNibbles, unsigned kBase>
class NibbleIndex {
 public:
  VESK_AVX2 explicit NibbleIndex(__m256i bytes)
      : offset_(kBase == 0 ? bytes : _mm256_sub_epi8(bytes, splat<kBase>())) {}

  // The entry of each byte, zero where it is beyond the tables.
  template <std::size_t kSize>
  VESK_AVX2 __m256i lookUp(const WideTables<kSize>& tables) const {
    static_assert(kNibbles <= kSize);
    __m256i found = _mm256_shuffle_epi8(load(tables[0].data()), at<0>());
    if constexpr (kNibbles > 1) found = lookUpFrom<1>(tables, found);
    return found;
  }

 private:
  template <std::size_t q>
  VESK_AVX2 __m256i at() const {
    return _mm256_adds_epu8(offset_, splat<0x70 - 16 * q>());
  }
  template <std::size_t q, std::size_t kSize>
  VESK_AVX2 __m256i lookUpFrom(const WideTables<kSize>& tables, __m256i found) const {
    found = _mm256_xor_si256(found, _mm256_shuffle_epi8(load(tables[q].data()), at<q>()));
    if constexpr (q + 1 < kNibbles) found = lookUpFrom<q + 1>(tables, found);
    return found;
  }

  __m256i offset_;
};

VESK_AVX2 __m128i shuffled(__m128i bytes, const std::array<std::uint8_t, 16>& shuffle) {
  return _mm_shuffle_epi8(bytes, _mm_load_si128(reinterpret_cast<const __m128i*>(shuffle.data())));
}

// Writes the kept bytes of 32 places, kept having a bit for each; stores 8
// bytes from out and from where each eight places' bytes end. The offsets
// come from the mask, not one store from the last: the mask is ready late.
VESK_AVX2 unsigned char* storeGathered(__m256i places, std::uint32_t kept, unsigned char* out) {
  const __m128i low = _mm256_castsi256_si128(places), high = _mm256_extracti128_si256(places, 1);
  const auto storeEight = [out](long long offset, __m128i bytes) VESK_AVX2_TARGET {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + offset), bytes);
  };
  storeEight(0, shuffled(low, kGatherLow[kept & 0xFF]));
  storeEight(_mm_popcnt_u64(kept & 0xFF), shuffled(low, kGatherHigh[kept >> 8 & 0xFF]));
  storeEight(_mm_popcnt_u64(kept & 0xFFFF), shuffled(high, kGatherLow[kept >> 16 & 0xFF]));
  storeEight(_mm_popcnt_u64(kept & 0xFFFFFF), shuffled(high, kGatherHigh[kept >> 24]));
  return out + _mm_popcnt_u64(kept);
}

// Writes eight places' bytes, first and second interleaved: every first, the
// second where seconds has its bit; stores 16 bytes from out.
VESK_AVX2 unsigned char* storeSpread(__m128i places, unsigned seconds, unsigned char* out) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), shuffled(places, kSpreadPlaces[seconds]));
  return out + 8 + _mm_popcnt_u64(seconds);
}

// Converts blocks of 64 places, each writing the bytes avx2_layout.h says:
// with letters one or two bytes a place (spread), without them one or none
// (gathered).
template <const Layout& kLayout>
class Blocks {
  static constexpr const PairCells& kCells = kLayout.cells;
  static constexpr const NibbleRow& kRow = kLayout.row;
  static constexpr const SparsePairs& kSparse = kLayout.sparse;

  static constexpr WideTables<kLetterNibbles> kLetterInfo =
      widened<kLetterNibbles>(kLayout.letterInfo);
  static constexpr WideTables<kLetterNibbles> kLetterTrail =
      widened<kLetterNibbles>(kLayout.letterTrail);
  static constexpr WideTables<1> kLetterLeads = widened<1>(kLayout.letterLeads);
  static constexpr WideCells kCellTables{kCells};
  static constexpr WideTables<kRowNibbles> kRowFirst = widened<kRowNibbles>(kRow.first);
  static constexpr WideTables<kRowNibbles> kRowSecond = widened<kRowNibbles>(kRow.second);
  static constexpr WideTables<1> kSparseNibbleShift = widened<1>(kSparse.nibbleShift);
  static constexpr WideTables<1> kSparseLeadShift = widened<1>(kSparse.leadShift);
  static constexpr WideTables<2> kSparseLead = widened<2>(kSparse.lead);
  static constexpr WideTables<2> kSparseSecond = widened<2>(kSparse.second);
  static constexpr WideTables<2> kSparseFirst = widened<2>(kSparse.first);
  static constexpr WideTables<2> kSparseOutSecond = widened<2>(kSparse.outSecond);

 public:
  static constexpr bool kLetters = kLayout.shape.markCount > 0;

  // Both kinds of block convert the units that start in the 64 bytes at
  // block, but for a pair that starts at the last byte, which is left to the
  // next block; read block[64] and block[65]; write at most twice the bytes
  // they take and store up to 32 bytes past them. Where the units start is
  // worked out for the whole block first; then the halves are converted.

  // With letters, one or two bytes a place: each half is converted and
  // stored in turn, which keeps few vectors alive at once (beyond the
  // sixteen registers the compiler spills them, and the reloads cost more
  // than the arithmetic). Returns how many bytes it took: 64, or 63.
  VESK_AVX2 static unsigned convert(const unsigned char* block, unsigned char*& out) {
    static_assert(kLetters);
    const __m256i bytes0 = load(block), bytes1 = load(block + 32);
    const Mask high = bits(atLeastLimit(bytes0), atLeastLimit(bytes1));
    if (high == 0) {
      out = storeBlock(bytes0, bytes1, out);
      return 64;
    }
    const Letters letters0 = lookUpLetters(bytes0, load(block + 1));
    const Letters letters1 = lookUpLetters(bytes1, load(block + 33));
    const Units units = unitsOf(high, letters0, letters1);
    Carry carry{};
    out = spreadHalf<0>(bytes0, block, units, letters0, carry, out);
    out = spreadHalf<1>(bytes1, block, units, letters1, carry, out);
    out -= units.lastPair;  // place 63 wrote its byte: it belongs to the next block
    return 64 - static_cast<unsigned>(units.lastPair);
  }

  // Without letters, one byte a place or none: a block's pairs and the
  // places it keeps, to be stored once the next block has been looked up.
  // Which places are kept is known last, and the stores that wait on it
  // then overlap the next block's lookups.
  struct Gathered {
    __m256i places[2];
    std::uint32_t kept[2];
    unsigned taken;  // 64, or 63
  };

  VESK_AVX2 static Gathered gather(const unsigned char* block) {
    static_assert(!kLetters);
    const __m256i bytes0 = load(block), bytes1 = load(block + 32);
    const Mask high = bits(atLeastLimit(bytes0), atLeastLimit(bytes1));
    if (high == 0) return {{bytes0, bytes1}, {~0u, ~0u}, 64};
    const Letters none{};
    const Units units = unitsOf(high, none, none);
    Carry carry{};
    const HalfPairs half0 = withPairs<0>(bytes0, block, units, carry);
    const HalfPairs half1 = withPairs<1>(bytes1, block, units, carry);
    // A pair that writes one byte writes nothing at its second place; the
    // block's last place, when it starts a pair, is the next block's.
    const std::uint32_t kept0 = ~(half0.oneByte << 1);
    const std::uint32_t kept1 = ~(half1.oneByte << 1 | half0.oneByte >> 31 |
                                  static_cast<std::uint32_t>(units.lastPair) << 31);
    return {{half0.first, half1.first}, {kept0, kept1}, 64 - static_cast<unsigned>(units.lastPair)};
  }

  VESK_AVX2 static unsigned char* write(const Gathered& block, unsigned char* out) {
    if ((block.kept[0] & block.kept[1]) == ~0u)
      return storeBlock(block.places[0], block.places[1], out);
    out = storeGathered(block.places[0], block.kept[0], out);
    return storeGathered(block.places[1], block.kept[1], out);
  }

 private:
  // Each letter's info, and what the mark after it adds to its trail (0
  // where the mark does not fold in), by place; as masks, the letters, the
  // places before a mark, and the letters whose mark folds in.
  struct Letters {
    __m256i info;
    __m256i added;
    std::uint32_t letter;
    std::uint32_t markNext;
    std::uint32_t marksAdd;
  };

  // Where a block's units start, and with letters what each place writes.
  struct Units {
    Mask starts;
    Mask lastPair;
    Mask markPlaces;
    Mask seconds;  // the places that write a second byte
  };

  // What a half hands on to the next: its pairs' second bytes and its
  // letters' marked trails, written one place on.
  struct Carry {
    __m256i pairSecond = _mm256_setzero_si256();
    __m256i markedTrail = _mm256_setzero_si256();
  };

  // A half's places with its pairs' output: a pair's first byte at its
  // first place, its second (if any) at its second; the places that start a
  // unit, and the pairs that write one byte.
  struct HalfPairs {
    __m256i first;
    __m256i atStart;
    std::uint32_t oneByte;
  };

  template <unsigned kHalf>
  VESK_AVX2 static HalfPairs withPairs(__m256i bytes, const unsigned char* block,
                                       const Units& units, Carry& carry) {
    __m256i pairFirst, pairSecond;
    const __m256i atStart = expand(units.starts, kHalf);
    lookUpPairs(bytes, load(block + 32 * kHalf + 1), atStart, pairFirst, pairSecond);
    const __m256i first =
        orElse(onePlaceOn(pairSecond, carry.pairSecond), orElse(pairFirst, bytes));
    carry.pairSecond = pairSecond;
    return {first, atStart, ~bits(isZero(pairFirst)) & bits(isZero(pairSecond))};
  }

  template <unsigned kHalf>
  VESK_AVX2 static unsigned char* spreadHalf(__m256i bytes, const unsigned char* block,
                                             const Units& units, const Letters& letters,
                                             Carry& carry, unsigned char* out) {
    const HalfPairs pairs = withPairs<kHalf>(bytes, block, units, carry);
    return storePlaces<kHalf>(pairs, bytes, letters, units, carry, out);
  }

  VESK_AVX2 static unsigned char* storeBlock(__m256i bytes0, __m256i bytes1, unsigned char* out) {
    store(out, bytes0);
    store(out + 32, bytes1);
    return out + 64;
  }

  VESK_AVX2 static Units unitsOf(Mask high, const Letters& letters0, const Letters& letters1) {
    const Mask letter = letters0.letter | Mask{letters1.letter} << 32;
    const Mask markNext = letters0.markNext | Mask{letters1.markNext} << 32;
    // A letter takes the next byte only when it is a mark.
    const Mask pairs = twoByteUnitStarts(high & ~(letter & ~markNext));
    Units units{};
    units.lastPair = pairs >> 63;
    units.starts = ~(pairs << 1) & ~(units.lastPair << 63);
    if constexpr (kLetters) {
      const Mask letterStarts = units.starts & letter;
      const Mask marked = letterStarts & markNext;
      const Mask folded = marked & (letters0.marksAdd | Mask{letters1.marksAdd} << 32);
      units.markPlaces = marked << 1;
      units.seconds = (letterStarts & ~folded) | (units.markPlaces & ~(folded << 1));
    }
    return units;
  }

  // Unsigned compare by max: AVX2 compares bytes as signed.
  VESK_AVX2 static __m256i atLeastLimit(__m256i bytes) {
    return _mm256_cmpeq_epi8(_mm256_max_epu8(bytes, splat<kLayout.shape.singleByteLimit>()), bytes);
  }

  // Each letter's info, by place, and which marks fold in after it.
  VESK_AVX2 static Letters lookUpLetters(__m256i bytes, __m256i next) {
    const __m256i info = NibbleIndex<kLetterNibbles, kLayout.letterBase>(bytes).lookUp(kLetterInfo);
    const __m256i isMark0 = _mm256_cmpeq_epi8(next, splat<kLayout.shape.markBytes[0]>());
    const __m256i addMask = splat<(1u << kAddBits) - 1>();
    __m256i isMark = isMark0;
    __m256i added = _mm256_and_si256(_mm256_and_si256(info, addMask), isMark0);
    if constexpr (kLayout.shape.markCount > 1) {
      const __m256i isMark1 = _mm256_cmpeq_epi8(next, splat<kLayout.shape.markBytes[1]>());
      isMark = _mm256_or_si256(isMark0, isMark1);
      added = _mm256_or_si256(
          added,
          _mm256_and_si256(_mm256_and_si256(_mm256_srli_epi16(info, kAddBits), addMask), isMark1));
    }
    return {info, added, bits(info), bits(isMark), ~bits(isZero(added))};
  }

  // The output bytes of the pairs looked up by vector, at the places where
  // they start.
  VESK_AVX2 static void lookUpPairs(__m256i bytes, __m256i next, __m256i atStart, __m256i& first,
                                    __m256i& second) {
    if constexpr (kCells.fit) {
      lookUpCells(bytes, next, first, second);
    } else {
      first = _mm256_setzero_si256();
      second = _mm256_setzero_si256();
      addRuns(bytes, next, first, second, std::make_index_sequence<kLayout.runCount>());
      if constexpr (kRow.nibbles > 0) {
        const __m256i here = _mm256_cmpeq_epi8(bytes, splat<kRow.lead>());
        const NibbleIndex<kRow.nibbles, kRow.trailBase> index(next);
        first = _mm256_or_si256(first, _mm256_and_si256(index.lookUp(kRowFirst), here));
        second = _mm256_or_si256(second, _mm256_and_si256(index.lookUp(kRowSecond), here));
      }
      if constexpr (kSparse.count > 0) lookUpSparse(bytes, next, first, second);
    }
    first = _mm256_and_si256(first, atStart);
    second = _mm256_and_si256(second, atStart);
  }

  // The pairs in cells: each place finds the cell of its byte and the next,
  // and converts where the cell is its byte's and has the next byte's bit.
  VESK_AVX2 static void lookUpCells(__m256i bytes, __m256i next, __m256i& first, __m256i& second) {
    const __m256i lowNibble = splat<0x0F>();
    const __m256i leadNibble = _mm256_and_si256(bytes, lowNibble);
    const __m256i cell =
        _mm256_add_epi8(_mm256_shuffle_epi8(load(kCellTables.base[0].data()), leadNibble),
                        _mm256_and_si256(_mm256_srli_epi16(next, 4), lowNibble));
    const __m256i isLead =
        _mm256_cmpeq_epi8(_mm256_shuffle_epi8(load(kCellTables.lead[0].data()), cell), bytes);
    // The cell's bits for next's half of the low nibbles, chosen by its bit
    // 3, and next's own bit (none from 0x80 on, where no pair is).
    const __m256i bits =
        _mm256_blendv_epi8(_mm256_shuffle_epi8(load(kCellTables.lowBits[0].data()), cell),
                           _mm256_shuffle_epi8(load(kCellTables.highBits[0].data()), cell),
                           _mm256_slli_epi16(next, 4));
    const __m256i bit = _mm256_shuffle_epi8(load(kBitOfNibble.data()), next);
    const __m256i found = _mm256_andnot_si256(isZero(_mm256_and_si256(bits, bit)), isLead);
    first =
        _mm256_and_si256(_mm256_shuffle_epi8(load(kCellTables.first[0].data()), leadNibble), found);
    second = _mm256_and_si256(
        _mm256_add_epi8(next, _mm256_shuffle_epi8(load(kCellTables.add[0].data()), cell)), found);
    addOddPairs(bytes, next, second, std::make_index_sequence<kCells.oddCount>());
  }

  template <std::size_t... p>
  VESK_AVX2 static void addOddPairs(__m256i bytes, __m256i next, __m256i& second,
                                    std::index_sequence<p...>) {
    (addOddPair<p>(bytes, next, second), ...);
  }

  template <std::size_t p>
  VESK_AVX2 static void addOddPair(__m256i bytes, __m256i next, __m256i& second) {
    constexpr const OddPair& kPair = kCells.odd[p];
    const __m256i here = _mm256_and_si256(_mm256_cmpeq_epi8(bytes, splat<kPair.lead>()),
                                          _mm256_cmpeq_epi8(next, splat<kPair.second>()));
    second = _mm256_blendv_epi8(second, splat<kPair.outSecond>(), here);
  }

  // The pairs in the sparse slots: each place finds its pair's slot and
  // takes the output where the slot holds that pair.
  VESK_AVX2 static void lookUpSparse(__m256i bytes, __m256i next, __m256i& first, __m256i& second) {
    const __m256i lowNibble = splat<0x0F>();
    const __m256i nibbleShift =
        _mm256_shuffle_epi8(load(kSparseNibbleShift[0].data()),
                            _mm256_and_si256(_mm256_srli_epi16(next, 4), lowNibble));
    const __m256i leadShift =
        _mm256_shuffle_epi8(load(kSparseLeadShift[0].data()), _mm256_and_si256(bytes, lowNibble));
    const __m256i slot = _mm256_and_si256(
        _mm256_add_epi8(_mm256_add_epi8(next, nibbleShift), leadShift), splat<kSparseSlots - 1>());
    const NibbleIndex<2, 0> index(slot);
    const __m256i found = _mm256_and_si256(_mm256_cmpeq_epi8(index.lookUp(kSparseLead), bytes),
                                           _mm256_cmpeq_epi8(index.lookUp(kSparseSecond), next));
    first = _mm256_or_si256(first, _mm256_and_si256(index.lookUp(kSparseFirst), found));
    second = _mm256_or_si256(second, _mm256_and_si256(index.lookUp(kSparseOutSecond), found));
  }

  template <std::size_t... r>
  VESK_AVX2 static void addRuns(__m256i bytes, __m256i next, __m256i& first, __m256i& second,
                                std::index_sequence<r...>) {
    (addRun<r>(bytes, next, first, second), ...);
  }

  template <std::size_t r>
  VESK_AVX2 static void addRun(__m256i bytes, __m256i next, __m256i& first, __m256i& second) {
    constexpr const Run& kRun = kLayout.runs[r];
    const __m256i offset = _mm256_sub_epi8(next, splat<kRun.first>());
    const __m256i here =
        _mm256_and_si256(_mm256_cmpeq_epi8(bytes, splat<kRun.lead>()),
                         _mm256_cmpeq_epi8(_mm256_min_epu8(offset, splat<kRun.span>()), offset));
    first = _mm256_or_si256(first, _mm256_and_si256(here, splat<kRun.out0>()));
    second =
        _mm256_or_si256(second, _mm256_and_si256(here, _mm256_add_epi8(next, splat<kRun.add>())));
  }

  // The first and second bytes of each place of a half, interleaved and
  // spread: a letter's lead byte and trail (or marked trail, carried to the
  // mark's place), the wide mark at a mark that does not fold in, else the
  // byte the pairs gave.
  template <unsigned kHalf>
  VESK_AVX2 static unsigned char* storePlaces(const HalfPairs& pairs, __m256i bytes,
                                              const Letters& letters, const Units& units,
                                              Carry& carry, unsigned char* out) {
    const __m256i trail =
        NibbleIndex<kLetterNibbles, kLayout.letterBase>(bytes).lookUp(kLetterTrail);
    const __m256i markedTrail =
        _mm256_andnot_si256(isZero(letters.added), _mm256_add_epi8(trail, letters.added));
    const __m256i marked = onePlaceOn(markedTrail, carry.markedTrail);
    carry.markedTrail = markedTrail;
    const __m256i leadIndex =
        _mm256_and_si256(_mm256_srli_epi16(letters.info, kLeadShift), splat<kMaxLetterLeads - 1>());
    const __m256i lead = _mm256_shuffle_epi8(load(kLetterLeads[0].data()), leadIndex);
    // The info's high bit marks a letter, and that bit is all a blend reads.
    const __m256i atLetter = _mm256_and_si256(letters.info, pairs.atStart);
    const __m256i first = pairs.first;
    const __m256i atMark = expand(units.markPlaces, kHalf);
    __m256i wideLead = splat<kLayout.wideLead[0]>();
    __m256i wideTrail = splat<kLayout.wideTrail[0]>();
    if constexpr (kLayout.shape.markCount > 1) {
      const __m256i isMark0 = _mm256_cmpeq_epi8(first, splat<kLayout.shape.markBytes[0]>());
      if constexpr (kLayout.wideLead[1] != kLayout.wideLead[0]) {
        wideLead = _mm256_blendv_epi8(splat<kLayout.wideLead[1]>(), wideLead, isMark0);
      }
      if constexpr (kLayout.wideTrail[1] != kLayout.wideTrail[0]) {
        wideTrail = _mm256_blendv_epi8(splat<kLayout.wideTrail[1]>(), wideTrail, isMark0);
      }
    }
    const __m256i placeFirst = _mm256_blendv_epi8(_mm256_blendv_epi8(first, lead, atLetter),
                                                  orElse(marked, wideLead), atMark);
    const __m256i placeSecond = _mm256_blendv_epi8(trail, wideTrail, atMark);
    // Places 0-7 and 8-15 of the half in the low lane, 16-31 in the high.
    const __m256i low = _mm256_unpacklo_epi8(placeFirst, placeSecond);
    const __m256i upper = _mm256_unpackhi_epi8(placeFirst, placeSecond);
    alignas(4) std::uint8_t kept[4];
    const auto half32 = static_cast<std::uint32_t>(units.seconds >> (32 * kHalf));
    __builtin_memcpy(kept, &half32, sizeof half32);
    out = storeSpread(_mm256_castsi256_si128(low), kept[0], out);
    out = storeSpread(_mm256_castsi256_si128(upper), kept[1], out);
    out = storeSpread(_mm256_extracti128_si256(low, 1), kept[2], out);
    return storeSpread(_mm256_extracti128_si256(upper, 1), kept[3], out);
  }
};

bool runsHere() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
         __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
}

// Blocks of 64 bytes, the first at in and the last starting before stop,
// while 66 bytes remain before end (a block reads two bytes after it).
template <const Layout& kLayout>
VESK_AVX2_TARGET void convertBlocks(const unsigned char*& in, const unsigned char* stop,
                                    const unsigned char* end, unsigned char*& out) {
  using Blocks = Blocks<kLayout>;
  const unsigned char* at = in;
  unsigned char* written = out;
  const auto more = [&at, stop, end] { return at < stop && end - at > 65; };
  if constexpr (Blocks::kLetters) {
    while (more()) at += Blocks::convert(at, written);
  } else {
    // Each block is stored after the next is looked up. At first a block
    // that keeps no place stands in: it writes nothing.
    typename Blocks::Gathered looked{};
    for (; more(); at += looked.taken) {
      const typename Blocks::Gathered next = Blocks::gather(at);
      written = Blocks::write(looked, written);
      looked = next;
    }
    written = Blocks::write(looked, written);
  }
  in = at;
  out = written;
}

void convert(Direction direction, const unsigned char*& in, const unsigned char* stop,
             const unsigned char* end, unsigned char*& out) {
  if (direction == Direction::ToStandard) {
    convertBlocks<kLocalToStandard>(in, stop, end, out);
  } else {
    convertBlocks<kStandardToLocal>(in, stop, end, out);
  }
}

}  // namespace

const Kernel kAvx2Kernel{"avx2", &runsHere, &convert};

#else

const Kernel kAvx2Kernel{"avx2", &runsNowhere, &convertsNothing};

#endif

}  // namespace vesk::detail
