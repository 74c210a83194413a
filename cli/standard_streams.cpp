#include "cli/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "cli/file_error.h"
#include "cli/help_text.h"
#include "cli/output_file.h"

namespace vesk::cli {

void guardStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      // open() takes the lowest free number, which is fd.
      ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    }
  }
}

int writeStandardOutput(std::string_view text) {
  try {
    Output output("-");
    output.write(text);
    output.commit();
    return 0;
  } catch (const FileError& error) {
    std::cerr << kProgramName << ": " << error.what() << '\n';
    return 1;
  }
}

}  // namespace vesk::cli
