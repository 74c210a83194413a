// vesktext-convert.exe: the conversions of Vesktext for text in files.

#include <string>
#include <string_view>
#include <vector>

#include "cli/program.h"
#include "cli/standard_streams.h"
#include "cli/windows/wide_text.h"

// Windows gives the arguments as UTF-16, so any file name arrives whole.
int wmain(int argc, wchar_t** argv) {
  vesk::cli::prepareStandardStreams();
  std::vector<std::string> utf8;
  for (int i = 1; i < argc; ++i) utf8.push_back(vesk::cli::toUtf8(argv[i]));
  const std::vector<std::string_view> arguments(utf8.begin(), utf8.end());
  return vesk::cli::runProgram(arguments);
}
