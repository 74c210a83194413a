#pragma once

// The kernel for processors with AVX-512 (with VBMI and VBMI2): 64 bytes of
// input a round, every unit at once. Each place of the block looks up the
// step of the unit that starts there in the step bytes (step_bytes.h), 128
// steps a permute; places that convert nothing keep their byte, and a
// compress drops the bytes no step writes.

#include "conversion/kernels/kernel.h"

namespace vesk::detail {

extern const Kernel kAvx512Kernel;

}  // namespace vesk::detail
