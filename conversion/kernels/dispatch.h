#pragma once

// Which kernel converts: the first of the kernels below that this processor
// runs, chosen once per process on first use.

#include <vector>

#include "conversion/kernels/kernel.h"

namespace vesk::detail {

// The kernels this processor runs, fastest first: AVX-512, AVX2, portable,
// and last the rules themselves, one step at a time.
std::vector<const Kernel*> runnableKernels();

// The kernel conversions use: the fastest this processor runs.
const Kernel& activeKernel();

// For tests and benchmarks: while one lives, every conversion in the
// process uses the given kernel, which must run here.
class KernelOverride {
 public:
  explicit KernelOverride(const Kernel& kernel);
  ~KernelOverride();
  KernelOverride(const KernelOverride&) = delete;
  KernelOverride& operator=(const KernelOverride&) = delete;

 private:
  const Kernel* previous_;
};

}  // namespace vesk::detail
