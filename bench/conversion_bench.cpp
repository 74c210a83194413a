// Speed of both conversions, each next to memcpy of the same buffer so the
// ratio can be read off one run. Two buffer sizes: 4 MB stays in the
// last-level cache, where memcpy is at its fastest; 64 MB does not, which is
// what converting a large file competes with.

#include <benchmark/benchmark.h>

#include <cstring>
#include <iterator>
#include <random>
#include <string>

#include "conversion/convert.h"
#include "conversion/convert_units.h"
#include "conversion/kernels/dispatch.h"
#include "conversion/kernels/unit_shape.h"

namespace {

constexpr std::size_t kBufferSizes[] = {std::size_t{4} << 20, std::size_t{64} << 20};

std::string pureAscii(std::size_t size) {
  std::string text;
  while (text.size() < size) text += "The quick brown fox jumps over the lazy dog 0123.\r\n";
  return text;
}

// Lines of local-code text, pieces drawn with equal chance, a CR LF after one
// in eight. By bytes about 35% ASCII words, 11% plain half-width katakana,
// 19% half-width katakana with marks, 16% local two-byte codes (hiragana,
// symbols; a few in no table), 16% kanji and 3% CR LF.
std::string mixedLocal(std::size_t size) {
  std::mt19937 random(1120);
  const auto pick = [&random](unsigned from, unsigned to) {
    return static_cast<char>(std::uniform_int_distribution<unsigned>(from, to)(random));
  };
  std::string text;
  static constexpr char kLocalLeads[] = {'\xF0', '\xF1', '\xF2', '\xF3', '\xF5', '\xF6', '\xF8'};
  while (text.size() < size) {
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
        for (int i = 0; i < 3; ++i) text += {kLocalLeads[random() % 7], pick(0x41, 0x6F)};
        break;
      default:
        for (int i = 0; i < 3; ++i) text += {pick(0x88, 0x97), pick(0x40, 0x7E)};
        break;
    }
    if (random() % 8 == 0) text += "\r\n";
  }
  return text;
}

enum Kind { kAscii, kMixedLocal, kStandard };
const char* const kKindNames[] = {"ascii", "mixed_local", "standard"};

// Built on first use, so a filtered run does not generate every buffer.
const std::string& buffer(Kind kind, std::size_t sizeIndex) {
  static std::string buffers[3][std::size(kBufferSizes)];
  std::string& text = buffers[kind][sizeIndex];
  if (text.empty()) {
    const std::size_t size = kBufferSizes[sizeIndex];
    text = kind == kAscii        ? pureAscii(size)
           : kind == kMixedLocal ? mixedLocal(size)
                                 : vesk::ConvertHtoZ(buffer(kMixedLocal, sizeIndex));
  }
  return text;
}

void BM_memcpy(benchmark::State& state, Kind kind, std::size_t sizeIndex) {
  const std::string& input = buffer(kind, sizeIndex);
  std::string copy(input.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), input.data(), input.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

// A copy into a new string: what a fresh output costs before any
// conversion, page faults included.
void BM_copyToNewString(benchmark::State& state, Kind kind, std::size_t sizeIndex) {
  const std::string& input = buffer(kind, sizeIndex);
  for (auto _ : state) {
    std::string copy(input);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

void BM_convert(benchmark::State& state, Kind kind, std::size_t sizeIndex,
                std::string (*convert)(std::string_view)) {
  const std::string& input = buffer(kind, sizeIndex);
  for (auto _ : state) benchmark::DoNotOptimize(convert(input));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

// The engine through one kernel, into one output string reused, as the
// command line's stream does: a fresh output of many megabytes costs page
// faults that a reused one does not.
void BM_kernel(benchmark::State& state, Kind kind, std::size_t sizeIndex, vesk::Direction direction,
               const vesk::detail::Kernel* kernel) {
  const std::string& input = buffer(kind, sizeIndex);
  const vesk::detail::KernelOverride use(*kernel);
  std::string out;
  for (auto _ : state) {
    out.clear();
    vesk::detail::convertUnits(direction, input, true, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

// The kernel alone over the whole input, into an output sized once: what
// the kernel itself costs. Through the engine, each conversion also pays for
// std::string::resize filling the new output with zeros before the kernel
// writes it, and the rules convert the last bytes.
void BM_kernelAlone(benchmark::State& state, Kind kind, std::size_t sizeIndex,
                    vesk::Direction direction, const vesk::detail::Kernel* kernel) {
  const std::string& input = buffer(kind, sizeIndex);
  const auto* const begin = reinterpret_cast<const unsigned char*>(input.data());
  const auto* const end = begin + input.size();
  std::string out(
      vesk::detail::kernelRoom(input.size(), vesk::detail::shapeOf(direction).maxGrowth), '\0');
  for (auto _ : state) {
    const unsigned char* in = begin;
    auto* written = reinterpret_cast<unsigned char*>(out.data());
    kernel->convert(direction, in, end, end, written);
    benchmark::DoNotOptimize(written);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

void registerAll() {
  struct Conversion {
    const char* name;
    vesk::Direction direction;
    std::string (*convert)(std::string_view);
  };
  const Conversion conversions[] = {
      {"ConvertHtoZ", vesk::Direction::ToStandard, &vesk::ConvertHtoZ},
      {"ConvertZtoH", vesk::Direction::ToLocal, &vesk::ConvertZtoH}};
  for (std::size_t sizeIndex = 0; sizeIndex < std::size(kBufferSizes); ++sizeIndex) {
    const std::string size = "/" + std::to_string(kBufferSizes[sizeIndex] >> 20) + "MB";
    for (Kind kind : {kAscii, kMixedLocal, kStandard}) {
      const std::string name = kKindNames[kind] + size;
      benchmark::RegisterBenchmark(("memcpy/" + name).c_str(), BM_memcpy, kind, sizeIndex);
      benchmark::RegisterBenchmark(("copy_to_new_string/" + name).c_str(), BM_copyToNewString, kind,
                                   sizeIndex);
      for (const Conversion& conversion : conversions) {
        // Standard text is the input of ConvertZtoH only.
        if (kind == kStandard && conversion.direction == vesk::Direction::ToStandard) continue;
        const std::string prefix = conversion.name;
        benchmark::RegisterBenchmark((prefix + "/" + name).c_str(), BM_convert, kind, sizeIndex,
                                     conversion.convert);
        // Every kernel, the rules (one step at a time) among them.
        for (const vesk::detail::Kernel* kernel : vesk::detail::runnableKernels()) {
          benchmark::RegisterBenchmark((prefix + "_" + kernel->name + "/" + name).c_str(),
                                       BM_kernel, kind, sizeIndex, conversion.direction, kernel);
          benchmark::RegisterBenchmark((prefix + "_" + kernel->name + "_alone/" + name).c_str(),
                                       BM_kernelAlone, kind, sizeIndex, conversion.direction,
                                       kernel);
        }
      }
    }
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
