#pragma once

// One stage of the streaming conversion: bytes in, bytes out, in chunks.

#include <memory>
#include <string>
#include <string_view>

#include "conversion/convert.h"

namespace vesk::cli {

class ChunkFilter {
 public:
  virtual ~ChunkFilter() = default;

  // Appends to out what the chunk completes; may hold back a few bytes whose
  // meaning depends on what follows.
  virtual void feed(std::string_view chunk, std::string& out) = 0;

  // Ends the input and appends what was held back.
  virtual void finish(std::string& out) = 0;

  // How many characters were written as '?', having no form in the output.
  virtual std::size_t replaced() const { return 0; }
};

// The whole path for one input file: the conversion alone, or with utf8
// UTF-8 -> code page 932 -> conversion -> code page 932 -> UTF-8, where
// replace writes '?' for what code page 932 cannot hold instead of stopping.
std::unique_ptr<ChunkFilter> makeConversionPipeline(Direction direction, bool utf8, bool replace);

}  // namespace vesk::cli
