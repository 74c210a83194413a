#include "cli/windows/temporary_files.h"

#include <windows.h>

namespace vesk::cli {
namespace {

// The console runs the handler on a thread of its own.
SRWLOCK lock = SRWLOCK_INIT;
std::wstring temporaryPath;

BOOL WINAPI removeTemporaryFile(DWORD) {
  AcquireSRWLockExclusive(&lock);
  // Our own handle is still open: the file goes when the process ends.
  if (!temporaryPath.empty()) DeleteFileW(temporaryPath.c_str());
  temporaryPath.clear();
  ReleaseSRWLockExclusive(&lock);
  return FALSE;  // the next handler, in the end the system's, ends the program
}

}  // namespace

void rememberTemporaryFile(std::wstring path) {
  static const bool installed = SetConsoleCtrlHandler(removeTemporaryFile, TRUE);
  static_cast<void>(installed);
  AcquireSRWLockExclusive(&lock);
  temporaryPath.swap(path);
  ReleaseSRWLockExclusive(&lock);
}

void forgetTemporaryFile() { rememberTemporaryFile({}); }

}  // namespace vesk::cli
