#include "conversion/kernels/unit_shape.h"

namespace vesk::detail {
namespace {

constinit const UnitShape kLocalToStandard = deriveShape(Direction::ToStandard);
constinit const UnitShape kStandardToLocal = deriveShape(Direction::ToLocal);

}  // namespace

const UnitShape& shapeOf(Direction direction) {
  return direction == Direction::ToStandard ? kLocalToStandard : kStandardToLocal;
}

}  // namespace vesk::detail
