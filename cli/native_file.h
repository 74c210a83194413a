#pragma once

namespace vesk::cli {

// An open file as the system knows it. The one place where the two systems'
// types meet; the code that uses it lives in posix/ and windows/.
#ifdef _WIN32
using NativeFile = void*;  // a HANDLE
#else
using NativeFile = int;  // a file descriptor
#endif

}  // namespace vesk::cli
