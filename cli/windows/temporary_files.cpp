#include "cli/windows/temporary_files.h"

namespace vesk::cli {
namespace {

// The console runs the handler on a thread of its own; the lock keeps it
// from running between the file's creation and its name being kept.
SRWLOCK lock = SRWLOCK_INIT;
std::wstring temporaryPath;

BOOL WINAPI removeTemporaryFile(DWORD) {
  AcquireSRWLockExclusive(&lock);
  // Our own handle is still open: the file goes when the process ends.
  if (!temporaryPath.empty()) DeleteFileW(temporaryPath.c_str());
  // Ends the program as Windows' own handler would, with a status that says
  // so (wine's would say 0, success). The lock stays taken: nothing is to be
  // renamed any more.
  ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

HANDLE makeTemporaryFile(const std::wstring& path) {
  static const bool installed = SetConsoleCtrlHandler(removeTemporaryFile, TRUE);
  static_cast<void>(installed);
  AcquireSRWLockExclusive(&lock);
  // Shared for deletion, so that the handler can remove it while it is open.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD error = GetLastError();
  if (file != INVALID_HANDLE_VALUE) temporaryPath = path;
  ReleaseSRWLockExclusive(&lock);
  SetLastError(error);
  return file;
}

void forgetTemporaryFile() {
  AcquireSRWLockExclusive(&lock);
  temporaryPath.clear();
  ReleaseSRWLockExclusive(&lock);
}

}  // namespace vesk::cli
