#pragma once

// Conversions through a chosen kernel, so that tests and fuzzers check every
// kernel this processor runs, not only the fastest.

#include <string>
#include <string_view>

#include "conversion/convert.h"
#include "conversion/kernels/dispatch.h"

namespace vesk::testing {

// One call's conversion of input through the kernel.
inline std::string convertWith(const detail::Kernel& kernel, Direction direction,
                               std::string_view input) {
  const detail::KernelOverride use(kernel);
  return direction == Direction::ToStandard ? ConvertHtoZ(input) : ConvertZtoH(input);
}

inline const char* directionName(Direction direction) {
  return direction == Direction::ToStandard ? "ConvertHtoZ" : "ConvertZtoH";
}

}  // namespace vesk::testing
