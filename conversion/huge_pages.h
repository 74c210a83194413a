#pragma once

// A hint for large output buffers: a fresh buffer of many megabytes costs
// more in page faults (one per 4 KiB page) than the conversion itself.

#include <cstddef>

namespace vesk::detail {

// Asks for the whole 2 MiB pages inside [begin, begin + size) to be backed by
// huge pages. Only a hint: nothing happens where the system has none, and
// memory outside the range is not affected.
void preferHugePages(void* begin, std::size_t size);

}  // namespace vesk::detail
