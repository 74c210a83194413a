#include "conversion/convert.h"

#include "conversion/convert_units.h"

namespace vesk {

std::string ConvertHtoZ(std::string_view local) {
  std::string standard;
  detail::convertUnits(Direction::ToStandard, local, true, standard);
  return standard;
}

std::string ConvertZtoH(std::string_view standard) {
  std::string local;
  detail::convertUnits(Direction::ToLocal, standard, true, local);
  return local;
}

}  // namespace vesk
