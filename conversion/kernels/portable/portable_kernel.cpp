#include "conversion/kernels/portable/portable_kernel.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "conversion/kernels/portable/byte_classes.h"
#include "conversion/kernels/portable/dense_steps.h"
#include "conversion/kernels/unit_starts.h"

namespace vesk::detail {
namespace {

// A run of single bytes in a block is copied this many at a time, reading as
// many from where the run starts.
constexpr std::size_t kRunPiece = 32;

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

// Copies the run of single bytes at in, up to runLimit, unchanged to out;
// advances both past it. The limit as a constant lets the compiler drop the
// adder where it is zero.
void copySingleByteRun(const unsigned char*& in, const unsigned char* runLimit, unsigned limit,
                       unsigned char*& out) {
  const unsigned char* const runEnd =
      limit == 0x80 ? singleByteRunEnd<0x80>(in, runLimit) : singleByteRunEnd<0x7F>(in, runLimit);
  std::memcpy(out, in, static_cast<std::size_t>(runEnd - in));
  out += runEnd - in;
  in = runEnd;
}

// The four bytes a step stores for the unit first, second: its own bytes,
// with the unit's bytes kept where it passes them through.
std::uint32_t unitOutput(const UnitStep& step, unsigned first, unsigned second) {
  return step.bytes | ((first | second << 8) & step.keep);
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
unsigned char* writeBlockUnits(const DenseSteps& steps, const unsigned char* block,
                               std::uint64_t starts, std::uint64_t singles, unsigned char* out) {
  // Local copies: stores through out may alias anything, which would reload
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
    std::memcpy(out, from, kRunPiece);
    // Over the copy, the run's own first four bytes or the unit's output,
    // chosen by a mask: compilers turn a plain conditional into a branch.
    const std::uint32_t runWord =
        static_cast<std::uint32_t>(from[0] | from[1] << 8 | from[2] << 16 | from[3] << 24);
    const std::uint32_t unitWord = unitOutput(step, from[0], from[1]);
    const std::uint32_t isRun = 0u - static_cast<std::uint32_t>(run != 0);
    store32(out, unitWord ^ ((unitWord ^ runWord) & isRun));
    out += step.length ^ ((step.length ^ run) & isRun);
  }
  return out;
}

bool runsEverywhere() { return true; }

void convertPortable(Direction direction, const unsigned char*& in, const unsigned char* stop,
                     const unsigned char* end, unsigned char*& out) {
  const UnitShape& shape = shapeOf(direction);
  const DenseSteps& steps = denseStepsFor(direction);
  const ByteClassifier classifier(shape);
  // A block reads the byte after it, and a run piece from each of its places.
  while (in < stop && end - in > static_cast<std::ptrdiff_t>(kClassBlockBytes + kRunPiece)) {
    const BlockClasses classes = classifier.classify(in);
    if (classes.atLeastLimit == 0) {
      // Plain text: copy the whole run, not just this block.
      copySingleByteRun(in, stop, shape.singleByteLimit, out);
      continue;
    }
    const std::uint64_t pairs = twoByteUnitStarts(classes.takesNext);
    out = writeBlockUnits(steps, in, ~(pairs << 1), ~classes.atLeastLimit, out);
    // A pair at the last byte took the first byte of the next block.
    in += kClassBlockBytes + (pairs >> 63);
  }
}

}  // namespace

const Kernel kPortableKernel{"portable", &runsEverywhere, &convertPortable};

}  // namespace vesk::detail
