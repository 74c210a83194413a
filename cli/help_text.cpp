#include "cli/help_text.h"

namespace vesk::cli {

std::string_view versionText() {
  return "vesktext-convert 1.20\n"
         "Copyright (c) 2026 The Vesktext developers; MIT License (see LICENSE).\n";
}

}  // namespace vesk::cli
