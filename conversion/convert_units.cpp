#include "conversion/convert_units.h"

#include <algorithm>

#include "conversion/huge_pages.h"
#include "conversion/kernels/dispatch.h"
#include "conversion/kernels/unit_shape.h"
#include "conversion/rules.h"

namespace vesk::detail {
namespace {

// Input is converted in pieces so that the output buffer grows (and is
// zero-filled by std::string) a little ahead of the writes, while it is still
// in cache, instead of all at once.
constexpr std::size_t kPieceBytes = 8192;
// Output room from which a huge page can fit. The system call costs less
// than the 4 KiB page faults it saves: on the build machine a process's first
// conversion of a 5.6 MB text ran twice as fast with it.
constexpr std::size_t kHugePageRoom = std::size_t{2} << 20;

// Output room for converting size bytes: the kernel's, and the last unit of
// an input, which the rules convert, may write two bytes for one.
std::size_t roomFor(std::size_t size, unsigned growth) { return kernelRoom(size, growth) + 2; }

}  // namespace

std::size_t convertUnits(Direction direction, std::string_view input, bool inputEnds,
                         std::string& out) {
  const Kernel& kernel = activeKernel();
  const unsigned growth = shapeOf(direction).maxGrowth;
  const auto* const begin = reinterpret_cast<const unsigned char*>(input.data());
  const auto* const end = begin + input.size();

  std::size_t written = out.size();
  out.reserve(written + roomFor(input.size(), growth));
  if (out.capacity() - written >= kHugePageRoom) {
    preferHugePages(out.data() + written, out.capacity() - written);
  }

  const unsigned char* in = begin;
  while (in < end) {
    const unsigned char* const stop =
        in + std::min(kPieceBytes, static_cast<std::size_t>(end - in));
    out.resize(
        std::max(out.size(), written + roomFor(static_cast<std::size_t>(stop - in), growth)));
    unsigned char* const base = reinterpret_cast<unsigned char*>(out.data());
    unsigned char* dst = base + written;
    kernel.convert(direction, in, stop, end, dst);
    rules::convert(direction, in, stop, end, inputEnds, dst);
    written = static_cast<std::size_t>(dst - base);
    if (in < stop) break;  // a unit at the last byte waits for the next
  }
  out.resize(written);
  return static_cast<std::size_t>(in - begin);
}

}  // namespace vesk::detail
