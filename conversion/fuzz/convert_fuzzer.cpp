// libFuzzer target for one conversion direction (chosen when built): every
// kernel this processor runs must agree with the literal reference, and
// streaming in chunks must give the bytes of one call.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conversion/convert.h"
#include "conversion/testing/hex_bytes.h"
#include "conversion/testing/kernel_runs.h"
#include "conversion/testing/reference_conversion.h"

namespace {

#if VESKTEXT_FUZZ_TO_LOCAL
constexpr vesk::Direction kDirection = vesk::Direction::ToLocal;
constexpr auto kReference = &vesk::reference::convertZtoH;
#else
constexpr vesk::Direction kDirection = vesk::Direction::ToStandard;
constexpr auto kReference = &vesk::reference::convertHtoZ;
#endif

void failUnlessEqual(const char* what, std::string_view input, const std::string& actual,
                     const std::string& expected) {
  if (actual == expected) return;
  std::fprintf(stderr, "%s differs\ninput    [%s]\nactual   [%s]\nexpected [%s]\n", what,
               vesk::testing::hexBytes(input).c_str(), vesk::testing::hexBytes(actual).c_str(),
               vesk::testing::hexBytes(expected).c_str());
  std::abort();
}

// Chunk sizes from 1 to 4, each chunk sometimes after an empty one, taken from
// the input's own bytes so that the fuzzer varies the cuts along with the text.
std::string convertInChunks(std::string_view input) {
  vesk::StreamConverter converter(kDirection);
  std::string out;
  std::size_t cut = 0;
  for (std::size_t at = 0; at < input.size();) {
    const auto choice = static_cast<unsigned char>(input[cut++ % input.size()]);
    if (choice & 0x80) converter.feed({}, out);
    const std::size_t size = 1 + choice % 4;
    converter.feed(input.substr(at, size), out);
    at += size;
  }
  converter.finish(out);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string expected = kReference(input);
  for (const vesk::detail::Kernel* kernel : vesk::detail::runnableKernels()) {
    failUnlessEqual(kernel->name, input, vesk::testing::convertWith(*kernel, kDirection, input),
                    expected);
  }
  failUnlessEqual("chunked", input, convertInChunks(input), expected);
  return 0;
}
