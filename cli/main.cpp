// vesktext-convert: the conversions of Vesktext for text in files.

#include <iostream>
#include <string_view>
#include <type_traits>
#include <vector>

#include "cli/command_line.h"
#include "cli/help_text.h"
#include "cli/run_conversion.h"
#include "cli/run_guess.h"
#include "cli/standard_streams.h"

int main(int argc, char** argv) {
  using namespace vesk::cli;
  guardStandardStreams();
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const Command command = parseCommandLine(arguments);
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
      command);
}
