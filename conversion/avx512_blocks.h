#pragma once

// The block path for processors with AVX-512 (with VBMI2): 64 bytes of input
// a round, every unit converted at once. Units that convert have their steps
// gathered from the step tables; the rest pass through in place, and one
// compress drops what a unit does not write.

#include "conversion/unit_step.h"

namespace vesk::detail {

// Whether this build and this processor can run convertAvx512Blocks.
bool avx512BlocksSupported();

// Converts 64-byte blocks of input from in, the first starting before
// blockEnd, for as long as 65 bytes remain before end (a block looks at the
// byte after it); advances in and dst past them. The last may end up to 64
// bytes past blockEnd. Each block stores up to 128 bytes from the dst it
// starts at, and never writes more than twice the bytes it takes.
void convertAvx512Blocks(const ConversionSteps& steps, const unsigned char*& in,
                         const unsigned char* blockEnd, const unsigned char* end,
                         unsigned char*& dst);

}  // namespace vesk::detail
