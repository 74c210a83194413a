#include "conversion/rules.h"

namespace vesk::rules {

void convert(Direction direction, const unsigned char*& in, const unsigned char* stop,
             const unsigned char* end, bool inputEnds, unsigned char*& out) {
  while (in < stop) {
    const bool hasNext = end - in > 1;
    if (!hasNext && !inputEnds && *in >= singleByteLimit(direction)) return;
    const Step step = stepAt(direction, {in[0], hasNext ? in[1] : std::uint8_t{0}, hasNext});
    for (unsigned i = 0; i < step.length; ++i)
      out[i] = static_cast<unsigned char>(step.bytes >> (8 * i));
    out += step.length;
    in += step.taken;
  }
}

}  // namespace vesk::rules
