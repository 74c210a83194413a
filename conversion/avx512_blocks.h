#pragma once

// The block path for processors with AVX-512 (with VBMI and VBMI2): 64 bytes
// of input a round, every unit at once. Each place of the block looks up the
// step of the unit that starts there in the step bytes (StepBytes), 128 steps
// a permute; places that convert nothing keep their byte, and a compress
// drops the bytes no step writes.

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
