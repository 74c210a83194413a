#include <cstring>

#include "cli/file_error.h"

namespace vesk::cli {

std::string systemErrorText(int error) { return std::strerror(error); }

}  // namespace vesk::cli
