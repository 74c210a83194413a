#pragma once

// The engine with its block path chosen, so that tests and fuzzers check
// each path this processor can run, not only the fastest.

#include <string>
#include <string_view>
#include <vector>

#include "conversion/convert.h"
#include "conversion/unit_scanner.h"

namespace vesk::testing {

// The block paths this processor runs, the portable one first.
std::vector<detail::BlockPath> runnableBlockPaths();

const char* blockPathName(detail::BlockPath path);

// One call's conversion of input, through the given block path.
std::string convertThrough(detail::BlockPath path, Direction direction, std::string_view input);

}  // namespace vesk::testing
