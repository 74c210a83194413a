#include "conversion/unit_scanner.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "conversion/avx512_blocks.h"
#include "conversion/byte_classes.h"
#include "conversion/huge_pages.h"
#include "conversion/unit_starts.h"

namespace vesk::detail {
namespace {

// Input is converted in blocks so that the output buffer grows (and is
// zero-filled by std::string) a little ahead of the writes, while it is still
// in cache, instead of all at once.
constexpr std::size_t kBlockBytes = 8192;
// A step always stores four bytes, a run of single bytes in the block path
// kRunPiece, and the last units of a block may take up to three bytes of the
// next; an AVX-512 block may start at the block's last byte and stores up to
// 128 bytes. The stores stay within this many bytes beyond the block's
// greatest output.
constexpr std::size_t kStoreSlack = 128;
// The block path copies a run of single bytes this many at a time, reading
// as many from where the run starts.
constexpr std::size_t kRunPiece = 32;
// Output room from which a huge page can fit. The system call costs less
// than the 4 KiB page faults it saves: on the build machine a process's first
// conversion of a 5.6 MB text ran twice as fast with it.
constexpr std::size_t kHugePageRoom = std::size_t{2} << 20;

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

std::uint64_t load64(const unsigned char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// Writes the four bytes of a step word, the first byte lowest.
void store32(unsigned char* at, std::uint32_t word) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, &word, sizeof word);
  } else {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(word >> (8 * i));
  }
}

// The high bit of each byte of the word that is at least limit (0x7F or 0x80).
std::uint64_t bytesAtLeast(std::uint64_t word, std::uint64_t limitAdder) {
  return (((word & ~kHighBits) + limitAdder) | word) & kHighBits;
}

// Index of the first byte (in memory order) flagged in a non-zero mask.
std::size_t firstFlagged(std::uint64_t mask) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
  } else {
    return static_cast<std::size_t>(std::countl_zero(mask)) / 8;
  }
}

// The end of the run of bytes below limit that starts at from: a word at a
// time, four words at a time while nothing stops it.
template <unsigned limit>
const unsigned char* singleByteRunEnd(const unsigned char* from, const unsigned char* end) {
  constexpr std::uint64_t limitAdder = (0x80 - limit) * kEveryByte;
  while (end - from >= 32) {
    // With all bytes below limit no byte carries over in w + adder, so this
    // is exact for "is any byte at least limit".
    const std::uint64_t w0 = load64(from), w1 = load64(from + 8), w2 = load64(from + 16),
                        w3 = load64(from + 24);
    const std::uint64_t any = ((w0 | w1 | w2 | w3) | ((w0 + limitAdder) | (w1 + limitAdder) |
                                                      (w2 + limitAdder) | (w3 + limitAdder))) &
                              kHighBits;
    if (any != 0) break;
    from += 32;
  }
  while (end - from >= 8) {
    const std::uint64_t mask = bytesAtLeast(load64(from), limitAdder);
    if (mask != 0) return from + firstFlagged(mask);
    from += 8;
  }
  while (from < end && *from < limit) ++from;
  return from;
}

const UnitStep& stepAt(const ConversionSteps& steps, unsigned first, unsigned second) {
  return steps.rows[steps.rowOf[first]][second];
}

// afterOne when advance is 1, afterTwo when it is 2, without a branch: which
// one it is cannot be predicted in mixed text.
const UnitStep& pickByAdvance(unsigned advance, const UnitStep& afterOne,
                              const UnitStep& afterTwo) {
  const auto one = reinterpret_cast<std::uintptr_t>(&afterOne);
  const auto two = reinterpret_cast<std::uintptr_t>(&afterTwo);
  const std::uintptr_t whenTwo = 0 - static_cast<std::uintptr_t>(advance - 1);
  return *reinterpret_cast<const UnitStep*>(one ^ ((one ^ two) & whenTwo));
}

// The four bytes a step stores for the unit first, second: its own bytes,
// with the unit's bytes kept where it passes them through.
std::uint32_t unitOutput(const UnitStep& step, unsigned first, unsigned second) {
  return step.bytes | ((first | second << 8) & step.keep);
}

// Writes a unit's output for the unit first, second; returns the new end.
unsigned char* write(unsigned char* dst, const UnitStep& step, unsigned first, unsigned second) {
  store32(dst, unitOutput(step, first, second));
  return dst + step.length;
}

// Where the pieces of writeBlockUnits start: each unit of two bytes and each
// run of single bytes, the runs also cut where a piece of the block starts.
std::uint64_t pieceStarts(std::uint64_t starts, std::uint64_t singles) {
  constexpr std::uint64_t kPieceBoundaries = 0x0000000100000001;
  const std::uint64_t singleStarts = starts & singles;
  return (starts & ~singles) | (singleStarts & ~(singleStarts << 1)) |
         (singleStarts & kPieceBoundaries);
}

// Writes the units of a block that start at the set bits of starts. Their
// places are known beforehand, so no unit waits for the length of the one
// before it; only the output end does. A run of single bytes goes as one
// piece, copied kRunPiece bytes whatever its length: the choice between run and
// unit is a select, not a branch, since mixed text switches between them
// unpredictably.
unsigned char* writeBlockUnits(const ConversionSteps& steps, const unsigned char* block,
                               std::uint64_t starts, std::uint64_t singles, unsigned char* dst) {
  // Local copies: stores through dst may alias anything, which would reload
  // the table pointers after every unit.
  const std::uint8_t* const rowOf = steps.rowOf.data();
  const StepRow* const rows = steps.rows.data();
  const std::uint64_t singleStarts = starts & singles;
  for (std::uint64_t pieces = pieceStarts(starts, singles); pieces != 0; pieces &= pieces - 1) {
    const unsigned at = static_cast<unsigned>(std::countr_zero(pieces));
    const unsigned char* const from = block + at;
    const UnitStep& step = rows[rowOf[from[0]]][from[1]];
    // Up to the run's end or the next piece boundary.
    const unsigned run = std::min(static_cast<unsigned>(std::countr_one(singleStarts >> at)),
                                  static_cast<unsigned>(kRunPiece - at % kRunPiece));
    std::memcpy(dst, from, kRunPiece);
    // Over the copy, the run's own first four bytes or the unit's output,
    // chosen by a mask: compilers turn a plain conditional into a branch.
    const std::uint32_t runWord =
        static_cast<std::uint32_t>(from[0] | from[1] << 8 | from[2] << 16 | from[3] << 24);
    const std::uint32_t unitWord = unitOutput(step, from[0], from[1]);
    const std::uint32_t isRun = 0u - static_cast<std::uint32_t>(run != 0);
    store32(dst, unitWord ^ ((unitWord ^ runWord) & isRun));
    dst += step.length ^ ((step.length ^ run) & isRun);
  }
  return dst;
}

// The limit as a constant lets the compiler drop the adder where it is zero.
const unsigned char* singleByteRunEnd(const unsigned char* from, const unsigned char* end,
                                      unsigned limit) {
  return limit == 0x80 ? singleByteRunEnd<0x80>(from, end) : singleByteRunEnd<0x7F>(from, end);
}

// Copies the run of single bytes at in, up to runLimit, unchanged to dst;
// advances both past it.
void copySingleByteRun(const unsigned char*& in, const unsigned char* runLimit, unsigned limit,
                       unsigned char*& dst) {
  const unsigned char* const runEnd = singleByteRunEnd(in, runLimit, limit);
  std::memcpy(dst, in, static_cast<std::size_t>(runEnd - in));
  dst += runEnd - in;
  in = runEnd;
}

}  // namespace

const ConversionSteps& stepsFor(Direction direction) {
  return direction == Direction::ToStandard ? kLocalToStandardSteps : kStandardToLocalSteps;
}

BlockPath fastestBlockPath() {
  static const BlockPath fastest =
      avx512BlocksSupported() ? BlockPath::kAvx512 : BlockPath::kPortable;
  return fastest;
}

std::size_t convertUnits(const ConversionSteps& steps, std::string_view input, bool inputEnds,
                         std::string& out, BlockPath path) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(input.data());
  const auto* const end = begin + input.size();
  const unsigned limit = steps.singleByteLimit;
  const ByteClassifier classifier(steps);

  std::size_t written = out.size();
  const std::size_t growth = steps.maxGrowth;
  out.reserve(written + growth * input.size() + kStoreSlack);
  if (out.capacity() - written >= kHugePageRoom) {
    preferHugePages(out.data() + written, out.capacity() - written);
  }

  const unsigned char* in = begin;
  bool waiting = false;  // for the byte after a unit that starts at the last byte
  while (in < end && !waiting) {
    const unsigned char* const blockEnd =
        in + std::min(kBlockBytes, static_cast<std::size_t>(end - in));
    out.resize(std::max(out.size(),
                        written + growth * static_cast<std::size_t>(blockEnd - in) + kStoreSlack));
    unsigned char* const base = reinterpret_cast<unsigned char*>(out.data());
    unsigned char* dst = base + written;
    if (path == BlockPath::kAvx512) convertAvx512Blocks(steps, in, blockEnd, end, dst);

    while (in < blockEnd) {
      if (blockEnd - in >= static_cast<std::ptrdiff_t>(kClassBlockBytes) &&
          end - in > static_cast<std::ptrdiff_t>(kClassBlockBytes + kRunPiece)) {
        const BlockClasses classes = classifier.classify(in);
        if (classes.atLeastLimit == 0) {
          // Plain text: copy the whole run, not just this block.
          copySingleByteRun(in, blockEnd, limit, dst);
          continue;
        }
        const std::uint64_t pairs = twoByteUnitStarts(classes.takesNext);
        dst = writeBlockUnits(steps, in, ~(pairs << 1), ~classes.atLeastLimit, dst);
        // A pair at the last byte took the first byte of the next block.
        in += kClassBlockBytes + (pairs >> 63);
        continue;
      }
      if (*in < limit) {
        copySingleByteRun(in, blockEnd, limit, dst);
        continue;
      }
      if (end - in >= 4) {
        // Two units per round: the second unit's step is looked up for both
        // places it can start, so the lookups need not wait for the first
        // unit's length.
        const UnitStep& firstUnit = stepAt(steps, in[0], in[1]);
        const UnitStep& afterOne = stepAt(steps, in[1], in[2]);
        const UnitStep& afterTwo = stepAt(steps, in[2], in[3]);
        dst = write(dst, firstUnit, in[0], in[1]);
        in += firstUnit.advance;
        const UnitStep& secondUnit = pickByAdvance(firstUnit.advance, afterOne, afterTwo);
        dst = write(dst, secondUnit, in[0], in[1]);
        in += secondUnit.advance;
        continue;
      }
      if (end - in == 1) {
        if (!inputEnds) {
          waiting = true;
          break;
        }
        dst = write(dst, steps.last[*in], *in, 0);
        ++in;
        break;
      }
      const UnitStep& step = stepAt(steps, in[0], in[1]);
      dst = write(dst, step, in[0], in[1]);
      in += step.advance;
    }
    written = static_cast<std::size_t>(dst - base);
  }
  out.resize(written);
  return static_cast<std::size_t>(in - begin);
}

}  // namespace vesk::detail
