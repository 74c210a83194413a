#pragma once

// The kernel every processor runs: 64-byte blocks classified at once (SSE2
// where there is SSE2, byte by byte elsewhere), their unit starts found with
// one addition (unit_starts.h), then each unit written from the dense steps.
// Runs of single bytes are copied a word at a time.

#include "conversion/kernels/kernel.h"

namespace vesk::detail {

extern const Kernel kPortableKernel;

}  // namespace vesk::detail
