#pragma once

// One row of a conversion table test: input bytes and the bytes expected.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "conversion/convert.h"
#include "conversion/testing/hex_bytes.h"

namespace vesk::testing {

struct ConversionCase {
  const char* name;  // the row's name in test output
  std::string input;
  std::string expected;
};

inline void PrintTo(const ConversionCase& row, std::ostream* os) {
  *os << row.name << ": [" << hexBytes(row.input) << "]";
}

inline std::string caseName(const ::testing::TestParamInfo<ConversionCase>& info) {
  return info.param.name;
}

// Converts the row's input in one call and fed one byte at a time.
inline void expectConverts(Direction direction, const ConversionCase& row) {
  const std::string oneCall =
      direction == Direction::ToStandard ? ConvertHtoZ(row.input) : ConvertZtoH(row.input);
  EXPECT_EQ(hexBytes(oneCall), hexBytes(row.expected)) << "in one call";
  StreamConverter converter(direction);
  std::string fed;
  for (const char byte : row.input) converter.feed({&byte, 1}, fed);
  converter.finish(fed);
  EXPECT_EQ(hexBytes(fed), hexBytes(row.expected)) << "fed byte by byte";
}

}  // namespace vesk::testing
