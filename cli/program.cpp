#include "cli/program.h"

#include <iostream>
#include <type_traits>
#include <variant>

#include "cli/command_line.h"
#include "cli/file_error.h"
#include "cli/help_text.h"
#include "cli/output_file.h"
#include "cli/run_conversion.h"
#include "cli/run_guess.h"

namespace vesk::cli {

namespace {

// Writes all of text to standard output; on failure says so on standard
// error. Returns the exit status: 0, or 1.
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

}  // namespace

int runProgram(std::span<const std::string_view> arguments) {
  return std::visit(
      [](const auto& request) {
        using Request = std::decay_t<decltype(request)>;
        if constexpr (std::is_same_v<Request, ShowHelp>) {
          return writeStandardOutput(helpText());
        } else if constexpr (std::is_same_v<Request, ShowVersion>) {
          return writeStandardOutput(versionText());
        } else if constexpr (std::is_same_v<Request, UsageError>) {
          std::cerr << kProgramName << ": " << request.message << " (see --help)\n";
          return 2;
        } else if constexpr (std::is_same_v<Request, GuessJob>) {
          return runGuess(request, std::cerr);
        } else {
          return runConversion(request, std::cerr);
        }
      },
      parseCommandLine(arguments));
}

}  // namespace vesk::cli
