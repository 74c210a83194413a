#pragma once

// The two conversions between the Vesk local code set and standard Shift_JIS
// (code page 932). Both are pure functions of bytes to bytes: every byte string
// is valid input, nothing is reported, and no state is kept between calls.

#include <string>
#include <string_view>

namespace vesk {

// Local code set -> standard Shift_JIS: widens half-width katakana (folding a
// following voiced or semi-voiced mark into the letter) and maps the local
// two-byte codes to their standard codes. Everything else passes through.
std::string ConvertHtoZ(std::string_view local);

// Standard Shift_JIS -> local code set: narrows full-width katakana (voiced
// letters become letter + mark) and maps standard codes to local codes.
std::string ConvertZtoH(std::string_view standard);

enum class Direction { ToStandard, ToLocal };

// Converts input that arrives in pieces. Feeding the chunks of an input one
// after another and then calling finish() appends exactly the bytes that one
// call on the whole input would give, however the input is cut.
class StreamConverter {
 public:
  explicit StreamConverter(Direction direction);

  // Converts what can be decided now and appends it to out; a byte whose
  // meaning depends on what follows is held back until the next call.
  void feed(std::string_view chunk, std::string& out);

  // Ends the input: appends what was held back, then the converter is ready
  // for a new input.
  void finish(std::string& out);

  // Whether a byte is held back for the next call.
  bool holdsBack() const { return !pending_.empty(); }

 private:
  Direction direction_;
  std::string pending_;  // at most one byte
};

}  // namespace vesk
