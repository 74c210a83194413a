#pragma once

// The kernel for processors with AVX2 (x86-64-v3): 64 bytes of input a
// round. Each place of the block writes up to two bytes of its own
// (avx2_layout.h): letters are looked up 32 at a time with byte shuffles,
// pairs that convert one by one from small tables, and shuffles by table
// gather the bytes written, eight at a time.

#include "conversion/kernels/kernel.h"

namespace vesk::detail {

extern const Kernel kAvx2Kernel;

}  // namespace vesk::detail
