#include "conversion/huge_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vesk::detail {

void preferHugePages(void* begin, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t to = (start + size) & ~(kHugePage - 1);
  // A refusal (no transparent huge pages) leaves the buffer as it was.
  if (from < to) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
  static_cast<void>(begin);
  static_cast<void>(size);
#endif
}

}  // namespace vesk::detail
