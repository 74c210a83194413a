#pragma once

// Where the converted text goes: standard output, or a named file.
//
// A regular file (new or existing) is written as a temporary file beside it
// and put in its place only when everything has been written and synced, so
// it is replaced whole or not at all. The new file keeps the old one's owner,
// group and permission bits, but never its set-user-ID, set-group-ID or
// sticky bit; when the owner or group cannot be kept, nothing is written. A
// symbolic link is followed and its target replaced; the link stays, unless
// it lies in a shared sticky directory and belongs to another user (a link
// planted there could point anywhere). Anything else that is not a directory
// (a device, a FIFO, /dev/stdout) is opened and written into directly.
//
// On Windows (windows/output_file.cpp) the temporary file is flushed and put
// in place by ReplaceFileW, which keeps the old file's attributes and
// security, or by MoveFileExW for a new file; links and junctions are
// followed; a console, NUL or a pipe is written into.

#include <string>
#include <string_view>

#include "cli/native_file.h"

namespace vesk::cli {

class Output {
 public:
  // What the name may lead to: with RegularFile, only an existing regular
  // file (after links), which is to be replaced.
  enum class Target { Anything, RegularFile };

  // "-" is standard output. Checks the target and makes the temporary file
  // at once, so a bad name fails before any input is read. Throws FileError.
  explicit Output(std::string name, Target target = Target::Anything);
  // Without commit(), a temporary file is removed and the named file stays as it was.
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void write(std::string_view bytes);  // throws FileError

  // Puts the written bytes in place under the name. Throws FileError.
  void commit();

 private:
  void openTemporaryBeside(const std::string& target);
  // Closes the file and removes a temporary one.
  void discard();

  std::string name_;       // as given, for messages
  std::string target_;     // the regular file to replace, links followed
  std::string temporary_;  // empty unless writing through a temporary file
  NativeFile file_;        // set by every constructor that returns
  bool ownFile_ = false;   // false for standard output
};

}  // namespace vesk::cli
