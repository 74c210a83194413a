// The command line's --utf-8 path beside glibc's iconv(3) on the same text:
// UTF-8 Japanese text to code page 932 and back, each stage alone and the
// whole path as the command line runs it (characters that go direct, the
// stages for the rest) in both directions. Every row
// counts the bytes of the UTF-8 text, so the rates compare directly. Ours
// run in the command line's chunks; iconv converts the whole text in one call.

#include <benchmark/benchmark.h>
#include <iconv.h>

#include <memory>
#include <random>
#include <string>

#include "cli/chunk_filter.h"
#include "cli/input_file.h"
#include "cli/text_filters.h"

namespace {

constexpr std::size_t kTextSize = std::size_t{4} << 20;

// Japanese text as people write it: kana, kanji, punctuation, half-width
// katakana, a few ASCII words and symbols, CR LF; pieces drawn with equal
// chance.
std::string japaneseUtf8(std::size_t size) {
  static const char* const kPieces[] = {"ガイド",     "あいうえお", "日本語の文章", "ｶﾞｲﾄﾞ", "、。",
                                        "「テスト」", "abc def ",   "\r\n",         "漢字",  "√",
                                        "〜"};
  std::mt19937 random(932);
  std::string text;
  while (text.size() < size) text += kPieces[random() % std::size(kPieces)];
  return text;
}

const std::string& utf8Text() {
  static const std::string text = japaneseUtf8(kTextSize);
  return text;
}

// Feeds text to filter in the command line's chunks, each into an emptied out.
void convertInChunks(vesk::cli::ChunkFilter& filter, std::string_view text, std::string& out) {
  for (std::size_t pos = 0; pos < text.size(); pos += vesk::cli::kReadSize) {
    out.clear();
    filter.feed(text.substr(pos, vesk::cli::kReadSize), out);
  }
  out.clear();
  filter.finish(out);
}

const std::string& cp932Text() {
  static const std::string text = [] {
    vesk::cli::Utf8ToCp932 encoder(false);
    std::string whole;
    encoder.feed(utf8Text(), whole);
    encoder.finish(whole);
    return whole;
  }();
  return text;
}

template <typename MakeFilter>
void BM_ours(benchmark::State& state, const std::string& (*input)(), MakeFilter makeFilter) {
  std::string out;
  for (auto _ : state) {
    const std::unique_ptr<vesk::cli::ChunkFilter> filter = makeFilter();
    convertInChunks(*filter, input(), out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(utf8Text().size()));
}

void BM_iconv(benchmark::State& state, const char* from, const char* to,
              const std::string& (*input)()) {
  const iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv cannot convert between these code sets here");
    return;
  }
  std::string out(3 * input().size(), '\0');
  for (auto _ : state) {
    char* in = const_cast<char*>(input().data());
    std::size_t inLeft = input().size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
      state.SkipWithError("iconv failed on the text");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  iconv_close(converter);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(utf8Text().size()));
}

using vesk::Direction;
using vesk::cli::ChunkFilter;

BENCHMARK_CAPTURE(BM_iconv, utf8_to_cp932, "UTF-8", "CP932", utf8Text);
BENCHMARK_CAPTURE(BM_ours, utf8_to_cp932, utf8Text,
                  [] { return std::make_unique<vesk::cli::Utf8ToCp932>(false); });
BENCHMARK_CAPTURE(BM_iconv, cp932_to_utf8, "CP932", "UTF-8", cp932Text);
BENCHMARK_CAPTURE(BM_ours, cp932_to_utf8, cp932Text,
                  [] { return std::make_unique<vesk::cli::Cp932ToUtf8>(); });
BENCHMARK_CAPTURE(BM_ours, conversion_to_local, cp932Text, [] {
  return vesk::cli::makeConversionPipeline(Direction::ToLocal, false, false);
});
BENCHMARK_CAPTURE(BM_ours, conversion_to_standard, cp932Text, [] {
  return vesk::cli::makeConversionPipeline(Direction::ToStandard, false, false);
});
BENCHMARK_CAPTURE(BM_ours, to_local, utf8Text, [] {
  return vesk::cli::makeConversionPipeline(Direction::ToLocal, true, false);
});
BENCHMARK_CAPTURE(BM_ours, to_standard, utf8Text, [] {
  return vesk::cli::makeConversionPipeline(Direction::ToStandard, true, false);
});

}  // namespace

BENCHMARK_MAIN();
