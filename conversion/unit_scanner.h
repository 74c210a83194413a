#pragma once

// Runs a conversion's steps over a byte string.

#include <cstddef>
#include <string>
#include <string_view>

#include "conversion/convert.h"
#include "conversion/unit_step.h"

namespace vesk::detail {

// How whole blocks of input are converted; the results are the same.
enum class BlockPath {
  kPortable,  // 64-byte blocks classified with SSE2 (byte by byte without), units one by one
  kAvx512,    // 64-byte blocks converted at once; needs avx512BlocksSupported()
};

// The steps of one direction.
const ConversionSteps& stepsFor(Direction direction);

// The fastest path this processor runs.
BlockPath fastestBlockPath();

// Converts the units of input and appends the result to out. When inputEnds,
// a unit that starts at the last byte is converted as a unit of one byte and
// everything is taken. Otherwise such a unit waits for the byte after it
// (unless it is a single-byte unit anyway) and is left unconverted. Returns
// how many input bytes were taken.
std::size_t convertUnits(const ConversionSteps& steps, std::string_view input, bool inputEnds,
                         std::string& out, BlockPath path = fastestBlockPath());

}  // namespace vesk::detail
