// The chain of stages that converts one input file.

#include <memory>

#include "cli/chunk_filter.h"
#include "cli/direct_utf8.h"
#include "cli/text_filters.h"

namespace vesk::cli {

namespace {

class ConversionFilter : public ChunkFilter {
 public:
  explicit ConversionFilter(Direction direction) : converter_(direction) {}
  void feed(std::string_view chunk, std::string& out) override { converter_.feed(chunk, out); }
  void finish(std::string& out) override { converter_.finish(out); }
  bool holdsBack() const { return converter_.holdsBack(); }

 private:
  StreamConverter converter_;
};

// UTF-8 around the conversion. A byte order mark at the start of the input
// is written at the start of the output; code page 932 has no code for it.
// Characters that go direct (direct_utf8.h) skip the stages while those hold
// nothing back.
class Utf8ConversionPipeline : public ChunkFilter {
 public:
  Utf8ConversionPipeline(Direction direction, bool replace)
      : direct_(directForms(direction)), input_(replace), conversion_(direction) {}

  void feed(std::string_view chunk, std::string& out) override {
    std::size_t pos = 0;
    while (pos < chunk.size()) {
      if (!holdsBack()) {
        const std::size_t taken = direct_.convert(chunk.substr(pos), out);
        input_.passOver(chunk.substr(pos, taken));
        pos += taken;
        if (pos == chunk.size()) break;
      }
      const std::size_t end = direct_.resynchronisedAt(chunk, pos);
      run(chunk.substr(pos, end - pos), out,
          [](ChunkFilter& stage, std::string_view in, std::string& stageOut) {
            stage.feed(in, stageOut);
          });
      pos = end;
    }
  }

  void finish(std::string& out) override {
    run({}, out, [](ChunkFilter& stage, std::string_view in, std::string& stageOut) {
      stage.feed(in, stageOut);
      stage.finish(stageOut);
    });
  }

  std::size_t replaced() const override { return input_.replaced(); }

 private:
  bool holdsBack() const {
    return input_.holdsBack() || conversion_.holdsBack() || output_.holdsBack();
  }

  template <typename Step>
  void run(std::string_view chunk, std::string& out, Step step) {
    encoded_.clear();
    step(input_, chunk, encoded_);
    if (input_.sawByteOrderMark() && !byteOrderMarkWritten_) {
      out += "\xEF\xBB\xBF";
      byteOrderMarkWritten_ = true;
    }
    converted_.clear();
    step(conversion_, encoded_, converted_);
    step(output_, converted_, out);
  }

  const DirectForms& direct_;
  Utf8ToCp932 input_;
  ConversionFilter conversion_;
  Cp932ToUtf8 output_;
  std::string encoded_;
  std::string converted_;
  bool byteOrderMarkWritten_ = false;
};

}  // namespace

std::unique_ptr<ChunkFilter> makeConversionPipeline(Direction direction, bool utf8, bool replace) {
  if (utf8) return std::make_unique<Utf8ConversionPipeline>(direction, replace);
  return std::make_unique<ConversionFilter>(direction);
}

}  // namespace vesk::cli
