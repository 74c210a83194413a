#include "cli/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "cli/file_error.h"

namespace vesk::cli {

namespace {

std::string temporaryTemplate(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : name.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  return directory + "." + base + ".XXXXXX";
}

// mkstemp makes the file readable by its owner only; the output should keep
// the permissions of the file it replaces, or get the usual ones when new.
mode_t outputFileMode(const std::string& name) {
  struct stat existing {};
  if (::stat(name.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

Output::Output(std::string name) : name_(std::move(name)), fd_(STDOUT_FILENO) {
  if (name_ == "-") return;
  std::string pattern = temporaryTemplate(name_);
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  fd_ = ::mkstemp(path.data());
  if (fd_ < 0) throwFileError(Access::Write, name_, errno);
  temporaryName_ = path.data();
  ::fchmod(fd_, outputFileMode(name_));
}

Output::~Output() {
  if (temporaryName_.empty()) return;
  ::close(fd_);
  ::unlink(temporaryName_.c_str());
}

void Output::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      throwFileError(Access::Write, name_, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
}

void Output::commit() {
  if (temporaryName_.empty()) return;
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0 || std::rename(temporaryName_.c_str(), name_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporaryName_.c_str());
    temporaryName_.clear();
    throwFileError(Access::Write, name_, error);
  }
  temporaryName_.clear();
}

}  // namespace vesk::cli
