#include "cli/run_conversion.h"

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

// Converts whole files into outputs, reusing its buffers.
class FileConverter {
 public:
  explicit FileConverter(const ConversionJob& job) : job_(job), buffer_(kReadSize, '\0') {
    converted_.reserve(3 * kReadSize);
  }

  // Converts the named file into output. Returns the line that reports the
  // characters written as '?', or an empty string when there were none.
  std::string convert(const std::string& name, Output& output) {
    InputFile input(name);
    // A fresh pipeline per file, so each file's last byte is treated as the end.
    const auto pipeline = makeConversionPipeline(job_.direction, job_.utf8, job_.replace);
    try {
      while (const std::size_t count = input.read(buffer_.data(), buffer_.size())) {
        converted_.clear();
        pipeline->feed(std::string_view(buffer_.data(), count), converted_);
        output.write(converted_);
      }
      converted_.clear();
      pipeline->finish(converted_);
      output.write(converted_);
    } catch (const TextError& error) {
      throw FileError(fileName(Access::Read, name) + ", " + error.what());
    }
    const std::size_t replaced = pipeline->replaced();
    if (replaced == 0) return {};
    return fileName(Access::Read, name) + ": wrote '?' for " + std::to_string(replaced) +
           (replaced == 1 ? " character" : " characters") +
           " that code page 932 cannot hold or that is not UTF-8";
  }

 private:
  const ConversionJob& job_;
  std::string buffer_;
  std::string converted_;
};

void report(std::ostream& errors, const std::string& line) {
  if (!line.empty()) errors << kProgramName << ": " << line << '\n';
}

// All inputs into one output, which is replaced only when every one converted.
int convertIntoOne(const ConversionJob& job, std::ostream& errors) {
  FileConverter converter(job);
  try {
    Output output(job.output.value_or("-"));
    std::vector<std::string> replacements;
    for (const std::string& name : job.inputs) {
      replacements.push_back(converter.convert(name, output));
    }
    output.commit();
    for (const std::string& line : replacements) report(errors, line);
    return 0;
  } catch (const FileError& error) {
    report(errors, error.what());
    return 1;
  }
}

// Each input replaced by its conversion; a failure leaves that file as it
// was and the rest are still converted.
int convertInPlace(const ConversionJob& job, std::ostream& errors) {
  FileConverter converter(job);
  int status = 0;
  for (const std::string& name : job.inputs) {
    try {
      Output output(name, Output::Target::RegularFile);
      const std::string replacements = converter.convert(name, output);
      output.commit();
      report(errors, replacements);
    } catch (const FileError& error) {
      report(errors, error.what());
      status = 1;
    }
  }
  return status;
}

}  // namespace

int runConversion(const ConversionJob& job, std::ostream& errors) {
  return job.inPlace ? convertInPlace(job, errors) : convertIntoOne(job, errors);
}

}  // namespace vesk::cli
