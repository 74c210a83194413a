#include "cli/input_file.h"

#include <windows.h>

#include <algorithm>

#include "cli/file_error.h"
#include "cli/windows/wide_text.h"

namespace vesk::cli {

InputFile::InputFile(std::string name) : name_(std::move(name)) {
  if (name_ == "-") {
    file_ = GetStdHandle(STD_INPUT_HANDLE);
    return;
  }
  const std::wstring wide = toWide(name_);
  file_ = CreateFileW(wide.c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file_ != INVALID_HANDLE_VALUE) return;
  const DWORD error = GetLastError();
  // For a folder Windows says only "Access denied".
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throwFileError(Access::Read, name_, "Is a directory");
  }
  throwFileError(Access::Read, name_, static_cast<int>(error));
}

InputFile::~InputFile() {
  if (name_ != "-") CloseHandle(file_);
}

// Bytes as they are, CR LF and 0x1A included: ReadFile has no text mode.
std::size_t InputFile::read(char* buffer, std::size_t size) {
  DWORD count = 0;
  if (ReadFile(file_, buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30)), &count,
               nullptr)) {
    return count;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_BROKEN_PIPE) return 0;  // the writing end of a pipe was closed
  throwFileError(Access::Read, name_, static_cast<int>(error));
}

}  // namespace vesk::cli
