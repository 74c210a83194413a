#include "cli/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/file_error.h"
#include "cli/posix/temporary_files.h"

namespace vesk::cli {

namespace {

constexpr int kMaxLinks = 40;  // as the kernel follows at most

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Like the kernel's protected_symlinks: a link in a sticky directory that
// others may write to is followed only when it belongs to us or to the
// directory's owner; anyone could have planted it.
bool mayFollow(const std::string& link, const struct stat& linkStatus) {
  struct stat directory {};
  if (::stat(directoryOf(link).c_str(), &directory) != 0) return false;
  const bool shared = (directory.st_mode & S_ISVTX) != 0 && (directory.st_mode & S_IWOTH) != 0;
  return !shared || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == directory.st_uid;
}

// Follows symbolic links from path to the file they lead to, which need not
// exist yet. Throws FileError, naming name.
std::string followLinks(const std::string& name, std::string path, struct stat& status,
                        bool& exists) {
  for (int hops = 0;; ++hops) {
    if (::lstat(path.c_str(), &status) != 0) {
      if (errno != ENOENT) throwFileError(Access::Write, name, errno);
      exists = false;
      return path;
    }
    if (!S_ISLNK(status.st_mode)) {
      exists = true;
      return path;
    }
    if (hops == kMaxLinks) throwFileError(Access::Write, name, ELOOP);
    if (!mayFollow(path, status)) {
      throw FileError("will not write " + fileName(Access::Write, name) + ": the link " +
                      fileName(Access::Write, path) +
                      " lies in a shared directory and belongs to another user");
    }
    std::string target(static_cast<std::size_t>(status.st_size) + 1, '\0');
    ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) throwFileError(Access::Write, name, errno);
    target.resize(static_cast<std::size_t>(length));
    path = target.starts_with('/') ? target : directoryOf(path) + "/" + target;
  }
}

// ".name.XXXXXX" beside the target, the name shortened to fit the directory.
std::string temporaryPattern(const std::string& target) {
  const std::string directory = directoryOf(target);
  long maxName = ::pathconf(directory.c_str(), _PC_NAME_MAX);
  if (maxName <= 0) maxName = 255;
  const std::string suffix = ".XXXXXX";
  const std::string base =
      "." + baseOf(target).substr(0, static_cast<std::size_t>(maxName) - suffix.size() - 1);
  return (target.find('/') == std::string::npos ? "" : directory + "/") + base + suffix;
}

void syncDirectoryOf(const std::string& path) {
  const int directory = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (directory < 0) return;
  // Best effort: the file is already in place; this makes the rename durable.
  ::fsync(directory);
  ::close(directory);
}

}  // namespace

Output::Output(std::string name, Target target) : name_(std::move(name)), file_(-1) {
  if (name_ == "-") {
    file_ = STDOUT_FILENO;
    return;
  }
  struct stat status {};
  // What the name finally leads to, /proc's links to pipes and terminals included.
  const bool found = ::stat(name_.c_str(), &status) == 0;
  if (target == Target::RegularFile && !(found && S_ISREG(status.st_mode))) {
    if (!found) throwFileError(Access::Read, name_, errno);
    throw FileError("will not replace " + fileName(Access::Write, name_) + ": not a regular file");
  }
  if (found && !S_ISREG(status.st_mode)) {
    if (S_ISDIR(status.st_mode)) throwFileError(Access::Write, name_, EISDIR);
    file_ = ::open(name_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (file_ < 0) throwFileError(Access::Write, name_, errno);
    ownFile_ = true;
    return;
  }
  bool exists = false;
  target_ = followLinks(name_, name_, status, exists);
  openTemporaryBeside(target_);
  if (!exists) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(file_, 0666 & ~mask);
    return;
  }
  const bool sameOwner = status.st_uid == ::geteuid() && status.st_gid == ::getegid();
  if (!sameOwner && ::fchown(file_, status.st_uid, status.st_gid) != 0) {
    const int error = errno;
    discard();  // no destructor runs for a constructor that throws
    throw FileError("will not replace " + fileName(Access::Write, name_) +
                    ": cannot keep its owner and group: " + std::strerror(error));
  }
  // After fchown, which may clear them: never the set-ID or sticky bits.
  ::fchmod(file_, status.st_mode & 0777);
}

void Output::openTemporaryBeside(const std::string& target) {
  temporary_ = temporaryPattern(target);
  file_ = makeTemporaryFile(temporary_);
  if (file_ < 0) {
    const int error = errno;
    temporary_.clear();
    throwFileError(Access::Write, name_, error);
  }
  ownFile_ = true;
}

Output::~Output() { discard(); }

void Output::discard() {
  if (ownFile_ && file_ >= 0) ::close(file_);
  file_ = -1;
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    forgetTemporaryFile();
    temporary_.clear();
  }
}

void Output::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(file_, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      throwFileError(Access::Write, name_, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
}

void Output::commit() {
  if (!ownFile_) return;
  // The data must be on disk before the name points at it.
  if (!temporary_.empty() && ::fsync(file_) != 0) throwFileError(Access::Write, name_, errno);
  const int closed = ::close(file_);
  file_ = -1;
  if (closed != 0) throwFileError(Access::Write, name_, errno);
  if (temporary_.empty()) return;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    throwFileError(Access::Write, name_, errno);
  }
  temporary_.clear();
  forgetTemporaryFile();
  syncDirectoryOf(target_);
}

}  // namespace vesk::cli
