#pragma once

// The two conversions written the plain way, straight from the code tables:
// every lookup is a substring search (find) in a packed table string. Slow, and
// meant to be obviously right; tests and fuzzers compare the engine with it.

#include <string>
#include <string_view>

#include "conversion/code_table.h"

namespace vesk::reference {

// Entry number (from 1) of key in the table by the first-occurrence rule, or 0.
int lookup(const CodeTable& table, const std::string& key);

std::string convertHtoZ(std::string_view local);
std::string convertZtoH(std::string_view standard);

}  // namespace vesk::reference
