#include "cli/run_conversion.h"

#include <memory>
#include <string>
#include <vector>

#include "cli/chunk_filter.h"
#include "cli/file_error.h"
#include "cli/help_text.h"
#include "cli/input_file.h"
#include "cli/output_file.h"
#include "cli/text_filters.h"

namespace vesk::cli {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

// Converts one file into output; returns how many characters were written as '?'.
std::size_t convertFile(const ConversionJob& job, const std::string& name, std::string& buffer,
                        std::string& converted, Output& output) {
  InputFile input(name);
  // A fresh pipeline per file, so each file's last byte is treated as the end.
  const auto pipeline = makeConversionPipeline(job.direction, job.utf8, job.replace);
  try {
    for (;;) {
      const std::size_t count = input.read(buffer.data(), buffer.size());
      converted.clear();
      if (count == 0) {
        pipeline->finish(converted);
        output.write(converted);
        return pipeline->replaced();
      }
      pipeline->feed(std::string_view(buffer.data(), count), converted);
      output.write(converted);
    }
  } catch (const TextError& error) {
    throw FileError(fileName(Access::Read, name) + ", " + error.what());
  }
}

}  // namespace

int runConversion(const ConversionJob& job, std::ostream& errors) {
  try {
    Output output(job.output.value_or("-"));
    std::string buffer(kChunkSize, '\0');
    std::string converted;
    converted.reserve(3 * kChunkSize);
    std::vector<std::string> replacements;
    const std::vector<std::string> inputs =
        job.inputs.empty() ? std::vector<std::string>{"-"} : job.inputs;
    for (const std::string& name : inputs) {
      if (const std::size_t replaced = convertFile(job, name, buffer, converted, output)) {
        replacements.push_back(fileName(Access::Read, name) + ": wrote '?' for " +
                               std::to_string(replaced) +
                               (replaced == 1 ? " character" : " characters") +
                               " that code page 932 cannot hold or that is not UTF-8");
      }
    }
    output.commit();
    for (const std::string& line : replacements) errors << kProgramName << ": " << line << '\n';
    return 0;
  } catch (const FileError& error) {
    errors << kProgramName << ": " << error.what() << '\n';
    return 1;
  }
}

}  // namespace vesk::cli
