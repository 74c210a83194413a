#include "cli/command_line.h"

#include <algorithm>

namespace vesk::cli {

namespace {

bool isOption(std::string_view argument) { return argument.size() > 1 && argument.front() == '-'; }

}  // namespace

Command parseCommandLine(std::span<const std::string_view> arguments) {
  ConversionJob job;
  bool toStandard = false;
  bool toLocal = false;
  bool help = false;
  bool version = false;
  bool guess = false;
  bool verbose = false;
  bool optionsEnded = false;

  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (optionsEnded || !isOption(argument)) {
      job.inputs.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--to-standard") {
      toStandard = true;
    } else if (argument == "--to-local") {
      toLocal = true;
    } else if (argument == "--utf-8") {
      job.utf8 = true;
    } else if (argument == "--replace") {
      job.replace = true;
    } else if (argument == "--in-place") {
      job.inPlace = true;
    } else if (argument == "--guess") {
      guess = true;
    } else if (argument == "-v") {
      verbose = true;
    } else if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else if (argument.starts_with("-o")) {
      if (job.output) return UsageError{"-o given more than once"};
      if (argument.size() > 2) {
        job.output = std::string(argument.substr(2));
      } else if (i + 1 < arguments.size()) {
        job.output = std::string(arguments[++i]);
      } else {
        return UsageError{"-o needs an output file name"};
      }
      if (job.output->empty()) return UsageError{"-o needs an output file name"};
    } else {
      return UsageError{"unknown option '" + std::string(argument) + "'"};
    }
  }

  if (help) return ShowHelp{};
  if (version) return ShowVersion{};
  const bool noFiles = job.inputs.empty();
  if (noFiles && !job.inPlace) job.inputs.emplace_back("-");
  if (guess) {
    if (toStandard || toLocal || job.utf8 || job.replace || job.output || job.inPlace) {
      return UsageError{"--guess takes only -v and file names"};
    }
    return GuessJob{verbose, std::move(job.inputs)};
  }
  if (verbose) return UsageError{"-v goes with --guess"};
  if (toStandard && toLocal) return UsageError{"--to-standard and --to-local exclude each other"};
  if (!toStandard && !toLocal) return UsageError{"give a direction: --to-standard or --to-local"};
  if (job.replace && !job.utf8) return UsageError{"--replace goes with --utf-8"};
  if (job.inPlace) {
    if (job.output) return UsageError{"--in-place and -o exclude each other"};
    if (noFiles) return UsageError{"--in-place needs the files to convert"};
    if (std::ranges::find(job.inputs, "-") != job.inputs.end()) {
      return UsageError{"--in-place cannot replace standard input ('-')"};
    }
  }
  job.direction = toStandard ? Direction::ToStandard : Direction::ToLocal;
  return job;
}

}  // namespace vesk::cli
