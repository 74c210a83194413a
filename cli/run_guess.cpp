#include "cli/run_guess.h"

#include <string>

#include "cli/code_set_guess.h"
#include "cli/file_error.h"
#include "cli/help_text.h"
#include "cli/input_file.h"
#include "cli/output_file.h"

namespace vesk::cli {

namespace {

CodeSetGuess guessFile(const std::string& name, std::string& buffer) {
  InputFile input(name);
  CodeSetScanner scanner;
  while (const std::size_t count = input.read(buffer.data(), buffer.size())) {
    scanner.feed(std::string_view(buffer.data(), count));
  }
  return guessCodeSet(scanner.finish());
}

}  // namespace

int runGuess(const GuessJob& job, std::ostream& errors) {
  int status = 0;
  try {
    Output output("-");
    std::string buffer(kReadSize, '\0');
    for (const std::string& name : job.inputs) {
      std::string line = escapedName(name) + ": ";
      try {
        const CodeSetGuess guess = guessFile(name, buffer);
        line += codeSetName(guess.codeSet);
        if (job.verbose) line += " (" + guess.evidence + ")";
      } catch (const FileError& error) {
        errors << kProgramName << ": " << error.what() << '\n';
        status = 1;
        continue;
      }
      output.write(line + "\n");
    }
    output.commit();
  } catch (const FileError& error) {  // standard output
    errors << kProgramName << ": " << error.what() << '\n';
    status = 1;
  }
  return status;
}

}  // namespace vesk::cli
