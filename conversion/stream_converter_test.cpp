// StreamConverter gives the bytes of one call whatever the chunking, through
// every kernel this processor runs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/convert.h"
#include "conversion/testing/hex_bytes.h"
#include "conversion/testing/kernel_runs.h"
#include "conversion/testing/random_text.h"

namespace vesk {
namespace {

using testing::hexBytes;

std::string convertInOneCall(Direction direction, std::string_view input) {
  return direction == Direction::ToStandard ? ConvertHtoZ(input) : ConvertZtoH(input);
}

std::string convertInChunks(StreamConverter& converter, const std::vector<std::string>& chunks) {
  std::string out;
  for (const std::string& chunk : chunks) converter.feed(chunk, out);
  converter.finish(out);
  return out;
}

struct ChunkedCase {
  const char* name;
  Direction direction;
  std::vector<std::string> chunks;
};

void PrintTo(const ChunkedCase& row, std::ostream* os) { *os << row.name; }

class ChunkBoundary : public ::testing::TestWithParam<ChunkedCase> {};

TEST_P(ChunkBoundary, GivesTheBytesOfOneCall) {
  std::string whole;
  for (const std::string& chunk : GetParam().chunks) whole += chunk;
  StreamConverter converter(GetParam().direction);
  EXPECT_EQ(hexBytes(convertInChunks(converter, GetParam().chunks)),
            hexBytes(convertInOneCall(GetParam().direction, whole)));
}

const ChunkedCase kBoundaries[] = {
    {"mark_in_next_chunk", Direction::ToStandard, {"\xB6", "\xDE"}},
    {"mark_after_empty_chunks",
     Direction::ToStandard,
     {"A\xCA", "", "",
      "\xDF"
      "B"}},
    {"kana_at_end_of_last_chunk", Direction::ToStandard, {"A", "\xB6"}},
    {"lead_at_end_then_empty_chunk", Direction::ToStandard, {"\xF0", ""}},
    {"local_code_split", Direction::ToStandard, {"\xF5", "\x41\xF6", "\x63"}},
    {"kana_then_one_byte_chunks", Direction::ToStandard, {"\xB6", "\xB6", "\xDE", "\xDE", "A"}},
    {"swallowed_kana_split", Direction::ToStandard, {"\xA2", "\xB1\xDE"}},
    {"nothing", Direction::ToStandard, {}},
    {"letter_split", Direction::ToLocal, {"\x83", "\x4B"}},
    {"lead_at_end", Direction::ToLocal, {"\x83\x41", "\x83"}},
    {"del_split", Direction::ToLocal, {"\x7F", "\x83\x41"}},
    {"tilde_then_lead", Direction::ToLocal, {"~", "\x81", "", "\x58"}},
};
INSTANTIATE_TEST_SUITE_P(Chunks, ChunkBoundary, ::testing::ValuesIn(kBoundaries),
                         [](const auto& info) { return std::string(info.param.name); });

using testing::KernelRow;

class RandomChunking : public ::testing::TestWithParam<KernelRow> {};

// Short chunks, and chunks long enough for the kernels' blocks.
TEST_P(RandomChunking, GivesTheBytesOfOneCall) {
  const Direction direction = GetParam().direction;
  const detail::KernelOverride use(*GetParam().kernel);
  testing::RandomText texts(99);
  StreamConverter converter(direction);  // reused: finish() readies it for the next input
  for (int i = 0; i < 3000; ++i) {
    const std::string whole = texts.next(i % 2 == 0 ? 60 : 400);
    const std::size_t longest = i % 3 == 0 ? 9 : 300;
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < whole.size();) {
      const std::size_t size = texts.upTo(longest);  // empty chunks included
      chunks.push_back(whole.substr(at, size));
      at += size;
    }
    const std::string expected = convertInOneCall(direction, whole);
    const std::string actual = convertInChunks(converter, chunks);
    ASSERT_EQ(hexBytes(actual), hexBytes(expected)) << "input [" << hexBytes(whole) << "]";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKernel, RandomChunking,
                         ::testing::ValuesIn(testing::everyKernelRow()),
                         [](const auto& info) { return testing::rowName(info.param); });

TEST(StreamConverter, AppendsToWhatTheOutputHolds) {
  StreamConverter converter(Direction::ToLocal);
  std::string out = "kept";
  converter.feed("A", out);
  converter.finish(out);
  EXPECT_EQ(out, "keptA");
}

}  // namespace
}  // namespace vesk
