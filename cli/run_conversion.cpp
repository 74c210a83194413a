#include "cli/run_conversion.h"

#include <memory>
#include <string>

#include "cli/chunk_filter.h"
#include "cli/file_error.h"
#include "cli/help_text.h"
#include "cli/input_file.h"
#include "cli/output_file.h"

namespace vesk::cli {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

void convertFile(const ConversionJob& job, const std::string& name, std::string& buffer,
                 std::string& converted, Output& output) {
  InputFile input(name);
  // A fresh pipeline per file, so each file's last byte is treated as the end.
  const auto pipeline = makeConversionPipeline(job.direction, job.utf8);
  for (;;) {
    const std::size_t count = input.read(buffer.data(), buffer.size());
    converted.clear();
    if (count == 0) {
      pipeline->finish(converted);
      output.write(converted);
      return;
    }
    pipeline->feed(std::string_view(buffer.data(), count), converted);
    output.write(converted);
  }
}

}  // namespace

int runConversion(const ConversionJob& job, std::ostream& errors) {
  try {
    Output output(job.output.value_or("-"));
    std::string buffer(kChunkSize, '\0');
    std::string converted;
    converted.reserve(3 * kChunkSize);
    if (job.inputs.empty()) {
      convertFile(job, "-", buffer, converted, output);
    }
    for (const std::string& name : job.inputs) convertFile(job, name, buffer, converted, output);
    output.commit();
    return 0;
  } catch (const FileError& error) {
    errors << kProgramName << ": " << error.what() << '\n';
    return 1;
  }
}

}  // namespace vesk::cli
