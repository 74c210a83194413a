#include "cli/input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "cli/file_error.h"

namespace vesk::cli {

InputFile::InputFile(std::string name)
    : name_(std::move(name)),
      file_(name_ == "-" ? STDIN_FILENO : ::open(name_.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC)) {
  if (file_ < 0) throwFileError(Access::Read, name_, errno);
}

InputFile::~InputFile() {
  if (file_ != STDIN_FILENO) ::close(file_);
}

std::size_t InputFile::read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t count = ::read(file_, buffer, size);
    if (count >= 0) return static_cast<std::size_t>(count);
    if (errno != EINTR) throwFileError(Access::Read, name_, errno);
  }
}

}  // namespace vesk::cli
