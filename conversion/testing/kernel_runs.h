#pragma once

// Conversions through a chosen kernel, so that tests and fuzzers check every
// kernel this processor runs, not only the fastest.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/convert.h"
#include "conversion/kernels/dispatch.h"

namespace vesk::testing {

// One call's conversion of input through the kernel.
inline std::string convertWith(const detail::Kernel& kernel, Direction direction,
                               std::string_view input) {
  const detail::KernelOverride use(kernel);
  return direction == Direction::ToStandard ? ConvertHtoZ(input) : ConvertZtoH(input);
}

// A direction and a kernel, a row of the tests that run every kernel.
struct KernelRow {
  Direction direction;
  const detail::Kernel* kernel;
};

// Both directions through every kernel this processor runs.
inline std::vector<KernelRow> everyKernelRow() {
  std::vector<KernelRow> rows;
  for (Direction direction : {Direction::ToStandard, Direction::ToLocal}) {
    for (const detail::Kernel* kernel : detail::runnableKernels())
      rows.push_back({direction, kernel});
  }
  return rows;
}

// "ConvertHtoZ_avx2" and the like.
inline std::string rowName(const KernelRow& row) {
  return std::string(row.direction == Direction::ToStandard ? "ConvertHtoZ" : "ConvertZtoH") + "_" +
         row.kernel->name;
}

inline void PrintTo(const KernelRow& row, std::ostream* os) { *os << rowName(row); }

}  // namespace vesk::testing
