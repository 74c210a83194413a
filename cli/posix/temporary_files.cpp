#include "cli/posix/temporary_files.h"

#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vesk::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

// Read by the signal handler, so a fixed buffer: no allocation there.
char temporaryPath[PATH_MAX] = {};

extern "C" void removeTemporaryAndDie(int signal) {
  if (temporaryPath[0] != '\0') ::unlink(temporaryPath);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void installHandlersOnce() {
  static const bool installed = [] {
    for (const int signal : kSignals) {
      struct sigaction current {};
      ::sigaction(signal, nullptr, &current);
      if (current.sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = removeTemporaryAndDie;
      sigemptyset(&action.sa_mask);
      ::sigaction(signal, &action, nullptr);
    }
    return true;
  }();
  static_cast<void>(installed);
}

// Holds the signals back while the path changes, so the handler never sees
// half a name or misses a new file.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kSignals) sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &before_);
  }
  ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

}  // namespace

int makeTemporaryFile(std::string& pattern) {
  if (pattern.size() >= sizeof temporaryPath) {
    errno = ENAMETOOLONG;
    return -1;
  }
  installHandlersOnce();
  const SignalsHeld held;
  const int fd = ::mkstemp(pattern.data());
  if (fd >= 0) std::memcpy(temporaryPath, pattern.c_str(), pattern.size() + 1);
  return fd;
}

void forgetTemporaryFile() {
  const SignalsHeld held;
  temporaryPath[0] = '\0';
}

}  // namespace vesk::cli
