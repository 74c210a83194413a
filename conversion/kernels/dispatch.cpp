#include "conversion/kernels/dispatch.h"

#include <atomic>

#include "conversion/kernels/avx2/avx2_kernel.h"
#include "conversion/kernels/avx512/avx512_kernel.h"
#include "conversion/kernels/portable/portable_kernel.h"
#include "conversion/rules.h"

namespace vesk::detail {
namespace {

bool runsEverywhere() { return true; }

// The rules as a kernel: a unit at the last byte is left to the caller.
void convertByRules(Direction direction, const unsigned char*& in, const unsigned char* stop,
                    const unsigned char* end, unsigned char*& out) {
  rules::convert(direction, in, stop, end, false, out);
}

const Kernel kRulesKernel{"rules", &runsEverywhere, &convertByRules};

const Kernel* const kKernels[] = {&kAvx512Kernel, &kAvx2Kernel, &kPortableKernel, &kRulesKernel};

std::atomic<const Kernel*> overridden{nullptr};

}  // namespace

bool runsNowhere() { return false; }

void convertsNothing(Direction, const unsigned char*&, const unsigned char*, const unsigned char*,
                     unsigned char*&) {}

std::vector<const Kernel*> runnableKernels() {
  std::vector<const Kernel*> kernels;
  for (const Kernel* kernel : kKernels) {
    if (kernel->runsHere()) kernels.push_back(kernel);
  }
  return kernels;
}

const Kernel& activeKernel() {
  if (const Kernel* kernel = overridden.load(std::memory_order_relaxed)) return *kernel;
  static const Kernel& fastest = *runnableKernels().front();
  return fastest;
}

KernelOverride::KernelOverride(const Kernel& kernel) : previous_(overridden.exchange(&kernel)) {}

KernelOverride::~KernelOverride() { overridden.store(previous_); }

}  // namespace vesk::detail
