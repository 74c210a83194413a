// vesktext-convert: the conversions of Vesktext for text in files.

#include <string_view>
#include <vector>

#include "cli/program.h"
#include "cli/standard_streams.h"

int main(int argc, char** argv) {
  vesk::cli::prepareStandardStreams();
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return vesk::cli::runProgram(arguments);
}
