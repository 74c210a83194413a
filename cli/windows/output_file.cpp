#include "cli/output_file.h"

#include <windows.h>

#include <algorithm>

#include "cli/file_error.h"
#include "cli/windows/temporary_files.h"
#include "cli/windows/wide_text.h"

namespace vesk::cli {

namespace {

constexpr std::size_t kMaxName = 255;  // UTF-16 units in one part of a path
constexpr int kAttempts = 100;

[[noreturn]] void throwLastError(const std::string& name) {
  throwFileError(Access::Write, name, static_cast<int>(GetLastError()));
}

// What a name leads to, symbolic links and junctions followed.
struct Found {
  bool exists = false;
  DWORD type = FILE_TYPE_UNKNOWN;  // FILE_TYPE_DISK for files and folders
  bool directory = false;
  std::wstring path;  // for a file on disk: its full final path
};

Found find(const std::string& name) {
  const std::wstring wide = toWide(name);
  Found found;
  // No access asked for: only to look at it, whatever it is.
  const HANDLE probe =
      CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) throwLastError(name);
    found.path.resize(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr));
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(found.path.size()),
                                          found.path.data(), nullptr);
    if (length == 0) throwLastError(name);
    found.path.resize(length);
    return found;
  }
  found.exists = true;
  found.type = GetFileType(probe);
  BY_HANDLE_FILE_INFORMATION information{};
  if (found.type == FILE_TYPE_DISK && GetFileInformationByHandle(probe, &information)) {
    found.directory = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    found.path.resize(GetFinalPathNameByHandleW(probe, nullptr, 0, flags));
    found.path.resize(GetFinalPathNameByHandleW(probe, found.path.data(),
                                                static_cast<DWORD>(found.path.size()), flags));
  }
  CloseHandle(probe);
  if (found.type == FILE_TYPE_DISK && found.path.empty()) throwLastError(name);
  return found;
}

// "folder\.name.1A2B3C4D" beside the target, the name shortened to fit.
std::wstring temporaryName(const std::wstring& target, unsigned attempt) {
  const std::size_t slash = target.find_last_of(L"\\/");
  const unsigned long long seed =
      GetTickCount64() * 2654435761ULL + GetCurrentProcessId() * 40503ULL + attempt;
  std::wstring suffix = L".";
  for (int shift = 28; shift >= 0; shift -= 4) suffix += L"0123456789ABCDEF"[(seed >> shift) & 15];
  std::wstring base = target.substr(slash + 1);
  base.resize(std::min(base.size(), kMaxName - 1 - suffix.size()));
  if (!base.empty() && IS_HIGH_SURROGATE(base.back())) base.pop_back();
  return target.substr(0, slash + 1) + L"." + base + suffix;
}

}  // namespace

Output::Output(std::string name, Target target)
    : name_(std::move(name)), file_(INVALID_HANDLE_VALUE) {
  if (name_ == "-") {
    file_ = GetStdHandle(STD_OUTPUT_HANDLE);
    return;
  }
  const Found found = find(name_);
  if (target == Target::RegularFile && !(found.type == FILE_TYPE_DISK && !found.directory)) {
    if (!found.exists) throwFileError(Access::Read, name_, ERROR_FILE_NOT_FOUND);
    throw FileError("will not replace " + fileName(Access::Write, name_) + ": not a regular file");
  }
  if (found.directory) throwFileError(Access::Write, name_, "Is a directory");
  if (found.exists && found.type != FILE_TYPE_DISK) {
    // A console, NUL, a pipe: written into.
    file_ = CreateFileW(toWide(name_).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) throwLastError(name_);
    ownFile_ = true;
    return;
  }
  target_ = toUtf8(found.path);
  openTemporaryBeside(target_);
}

void Output::openTemporaryBeside(const std::string& target) {
  const std::wstring wideTarget = toWide(target);
  for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
    const std::wstring temporary = temporaryName(wideTarget, attempt);
    file_ = makeTemporaryFile(temporary);
    if (file_ != INVALID_HANDLE_VALUE) {
      ownFile_ = true;
      temporary_ = toUtf8(temporary);
      return;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  throwLastError(name_);
}

Output::~Output() { discard(); }

void Output::discard() {
  if (ownFile_ && file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  if (!temporary_.empty()) {
    DeleteFileW(toWide(temporary_).c_str());
    forgetTemporaryFile();
    temporary_.clear();
  }
}

// Bytes as they are, LF and 0x1A included: WriteFile has no text mode.
void Output::write(std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD count = 0;
    if (!WriteFile(file_, bytes.data(),
                   static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30)), &count,
                   nullptr)) {
      throwLastError(name_);
    }
    bytes.remove_prefix(count);
  }
}

void Output::commit() {
  if (!ownFile_) return;
  // The data must be on disk before the name points at it.
  if (!temporary_.empty() && !FlushFileBuffers(file_)) throwLastError(name_);
  const bool closed = CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  if (!closed) throwLastError(name_);
  if (temporary_.empty()) return;
  const std::wstring target = toWide(target_);
  const std::wstring temporary = toWide(temporary_);
  // ReplaceFileW gives the new file the old one's attributes, security and
  // creation time; a file that is new needs only the rename.
  const bool replaced =
      GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES
          ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr)
          : MoveFileExW(temporary.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) throwLastError(name_);
  temporary_.clear();
  forgetTemporaryFile();
}

}  // namespace vesk::cli
