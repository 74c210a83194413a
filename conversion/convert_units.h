#pragma once

// Runs a conversion over a byte string: the chosen kernel converts whole
// blocks, the rules convert what it leaves at the end of the input.

#include <cstddef>
#include <string>
#include <string_view>

#include "conversion/convert.h"

namespace vesk::detail {

// Converts the units of input and appends the result to out. When inputEnds,
// a unit that starts at the last byte is converted as a unit of one byte and
// everything is taken. Otherwise such a unit waits for the byte after it
// (unless it is a single-byte unit anyway) and is left unconverted. Returns
// how many input bytes were taken.
std::size_t convertUnits(Direction direction, std::string_view input, bool inputEnds,
                         std::string& out);

}  // namespace vesk::detail
