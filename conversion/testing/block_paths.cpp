#include "conversion/testing/block_paths.h"

#include "conversion/avx512_blocks.h"

namespace vesk::testing {

std::vector<detail::BlockPath> runnableBlockPaths() {
  std::vector<detail::BlockPath> paths{detail::BlockPath::kPortable};
  if (detail::avx512BlocksSupported()) paths.push_back(detail::BlockPath::kAvx512);
  return paths;
}

const char* blockPathName(detail::BlockPath path) {
  return path == detail::BlockPath::kPortable ? "Portable" : "Avx512";
}

std::string convertThrough(detail::BlockPath path, Direction direction, std::string_view input) {
  std::string out;
  detail::convertUnits(detail::stepsFor(direction), input, true, out, path);
  return out;
}

}  // namespace vesk::testing
