#pragma once

// Where the two-byte units of a 64-byte block start, found for the whole
// block with a few word operations instead of byte after byte: the chain
// "where does the next unit start" is what holds a byte loop back.

#include <cstdint>

namespace vesk::detail {

// takesNext has bit i set when byte i of the block, read as the first byte of
// a unit, would take byte i + 1 with it. Byte 0 starts a unit. Returns the
// bytes that start a two-byte unit.
//
// In a run of such bytes the first starts a unit (the byte before the run
// takes nothing), and from there the units alternate: two-byte units start
// at the run's even offsets. Adding a run's lowest bit clears the run, so one
// addition sorts all runs by the parity of their start without a loop.
constexpr std::uint64_t twoByteUnitStarts(std::uint64_t takesNext) {
  constexpr std::uint64_t kEvenBits = 0x5555555555555555;
  const std::uint64_t runStarts = takesNext & ~(takesNext << 1);
  const std::uint64_t runsFromEven = (takesNext + (runStarts & ~kEvenBits)) & takesNext;
  return (runsFromEven & kEvenBits) | (takesNext & ~runsFromEven & ~kEvenBits);
}

}  // namespace vesk::detail
