#pragma once

// Byte strings written as hexadecimal, for readable failure messages.

#include <string>
#include <string_view>

namespace vesk::testing {

// "B6 DE 41" for the bytes B6 DE 41.
std::string hexBytes(std::string_view bytes);

}  // namespace vesk::testing
