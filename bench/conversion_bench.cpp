// Speed of both conversions on a few MB of text, each next to memcpy of the
// same buffer so the ratio can be read off one run.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "conversion/convert.h"

namespace {

constexpr std::size_t kBufferBytes = 4 << 20;

std::string pureAscii() {
  std::string text;
  while (text.size() < kBufferBytes)
    text += "The quick brown fox jumps over the lazy dog 0123.\r\n";
  return text;
}

// Lines of local-code text: ASCII words, half-width katakana with and without
// marks, local hiragana codes, kanji and CR LF.
std::string mixedLocal() {
  std::mt19937 random(1120);
  const auto pick = [&random](unsigned from, unsigned to) {
    return static_cast<char>(std::uniform_int_distribution<unsigned>(from, to)(random));
  };
  std::string text;
  while (text.size() < kBufferBytes) {
    switch (random() % 5) {
      case 0:
        text += "Vesk text 42 ";
        break;
      case 1:
        for (int i = 0; i < 4; ++i) text += pick(0xB1, 0xDD);
        break;
      case 2:
        text += "\xB6\xDE\xB2\xC4\xDE\xCA\xDF";  // ｶﾞｲﾄﾞﾊﾟ
        break;
      case 3:
        for (int i = 0; i < 3; ++i) text += {'\xF5', pick(0x41, 0x6F)};
        break;
      default:
        for (int i = 0; i < 3; ++i) text += {pick(0x88, 0x97), pick(0x40, 0x7E)};
        break;
    }
    if (random() % 8 == 0) text += "\r\n";
  }
  return text;
}

const std::string& buffer(int kind) {
  static const std::string ascii = pureAscii();
  static const std::string local = mixedLocal();
  static const std::string standard = vesk::ConvertHtoZ(local);
  return kind == 0 ? ascii : kind == 1 ? local : standard;
}

const char* const kBufferNames[] = {"ascii", "mixed_local", "standard"};

void BM_memcpy(benchmark::State& state, int kind) {
  const std::string& input = buffer(kind);
  std::string copy(input.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), input.data(), input.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

void BM_convert(benchmark::State& state, int kind, std::string (*convert)(std::string_view)) {
  const std::string& input = buffer(kind);
  for (auto _ : state) benchmark::DoNotOptimize(convert(input));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

void registerAll() {
  for (int kind = 0; kind < 3; ++kind) {
    const std::string name = kBufferNames[kind];
    benchmark::RegisterBenchmark(("memcpy/" + name).c_str(), BM_memcpy, kind);
    if (kind != 2) {
      benchmark::RegisterBenchmark(("ConvertHtoZ/" + name).c_str(), BM_convert, kind,
                                   &vesk::ConvertHtoZ);
    }
    benchmark::RegisterBenchmark(("ConvertZtoH/" + name).c_str(), BM_convert, kind,
                                 &vesk::ConvertZtoH);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  registerAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
