#include "conversion/convert.h"

#include "conversion/unit_scanner.h"
#include "conversion/unit_step.h"

namespace vesk {

std::string ConvertHtoZ(std::string_view local) {
  std::string standard;
  detail::convertUnits(detail::kLocalToStandardSteps, local, true, standard);
  return standard;
}

std::string ConvertZtoH(std::string_view standard) {
  std::string local;
  detail::convertUnits(detail::kStandardToLocalSteps, standard, true, local);
  return local;
}

}  // namespace vesk
