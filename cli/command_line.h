#pragma once

// The command line of vesktext-convert, parsed into what to do.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "conversion/convert.h"

namespace vesk::cli {

struct ConversionJob {
  Direction direction = Direction::ToStandard;
  bool utf8 = false;                  // read and write UTF-8 instead of code page 932
  bool replace = false;               // with utf8: '?' for what code page 932 cannot hold
  std::optional<std::string> output;  // none: standard output
  bool inPlace = false;               // each input replaced by its conversion
  std::vector<std::string> inputs;    // "-" is standard input
};

// Says which code set each input is in.
struct GuessJob {
  bool verbose = false;             // with the evidence
  std::vector<std::string> inputs;  // "-" is standard input
};

struct ShowHelp {};
struct ShowVersion {};

// A command line that cannot be run; the message names the problem.
struct UsageError {
  std::string message;
};

using Command = std::variant<ConversionJob, GuessJob, ShowHelp, ShowVersion, UsageError>;

// Parses the arguments after the program name. Without files, a job reads
// standard input ("-"), except --in-place, which needs files.
Command parseCommandLine(std::span<const std::string_view> arguments);

}  // namespace vesk::cli
