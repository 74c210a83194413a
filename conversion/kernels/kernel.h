#pragma once

// What every kernel is and promises. A kernel converts whole blocks of input
// at once with one kind of processor's instructions; the rules (rules.h)
// convert what it leaves near the end of the input.

#include <cstddef>

#include "conversion/convert.h"

namespace vesk::detail {

struct Kernel {
  const char* name;
  // Whether this build and this processor can run it.
  bool (*runsHere)();
  // Converts the units that start at in, on a unit boundary, and before
  // stop, with the bytes up to end to read. It may stop before stop only
  // where what is left before end is too short for its blocks. Leaves in at
  // the start of a unit and out past the bytes written.
  void (*convert)(Direction direction, const unsigned char*& in, const unsigned char* stop,
                  const unsigned char* end, unsigned char*& out);
};

// For a kernel this build does not hold, its instructions being for other
// processors: it runs nowhere and converts nothing.
bool runsNowhere();
void convertsNothing(Direction direction, const unsigned char*& in, const unsigned char* stop,
                     const unsigned char* end, unsigned char*& out);

// Room the caller leaves: a kernel's last block may take up to kMaxOverrun
// bytes past stop, a kernel writes no more than maxGrowth (unit_shape.h)
// bytes for each byte it takes, and its stores may reach up to kStoreSlack
// bytes past the end of what it writes.
inline constexpr std::size_t kMaxOverrun = 64;
inline constexpr std::size_t kStoreSlack = 128;

// The room, for a kernel that converts up to stop = in + size and writes up
// to growth bytes for each it takes.
constexpr std::size_t kernelRoom(std::size_t size, unsigned growth) {
  return growth * (size + kMaxOverrun) + kStoreSlack;
}

}  // namespace vesk::detail
