#include <array>

#include "conversion/convert.h"
#include "conversion/convert_units.h"

namespace vesk {

StreamConverter::StreamConverter(Direction direction) : direction_(direction) {}

void StreamConverter::feed(std::string_view chunk, std::string& out) {
  if (chunk.empty()) return;
  if (!pending_.empty()) {
    // The held byte starts a unit that may take the first byte of this chunk.
    const std::array<char, 2> joined{pending_[0], chunk[0]};
    const std::size_t taken =
        detail::convertUnits(direction_, {joined.data(), joined.size()}, false, out);
    pending_.clear();
    chunk.remove_prefix(taken - 1);
  }
  const std::size_t taken = detail::convertUnits(direction_, chunk, false, out);
  pending_.assign(chunk.substr(taken));
}

void StreamConverter::finish(std::string& out) {
  detail::convertUnits(direction_, pending_, true, out);
  pending_.clear();
}

}  // namespace vesk
