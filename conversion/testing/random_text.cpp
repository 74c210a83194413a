#include "conversion/testing/random_text.h"

#include "conversion/code_tables.h"

namespace vesk::testing {
namespace {

std::vector<std::string> textPieces() {
  using namespace tables;
  std::vector<std::string> pieces{"A",        "Hello ",   "\r\n",     "x",
                                  "~",        "\x88\xA4", "\x9F\xFC", "\xE0\x40",
                                  "\x81\x4A", "\x81\x4B", "\x83\x94", "\x83\x8E"};
  pieces.emplace_back(31, 'r');  // long enough for the engine's word-at-a-time runs
  pieces.emplace_back(45, 's');
  for (const CodeTable* table : {&HankakuKana, &ZenkakuKana, &ZenkakuDakuon, &ZenkakuHandakuon,
                                 &LocalCodes, &StandardCodes}) {
    for (int n = 1; n <= table->size(); ++n) pieces.emplace_back(entryAt(*table, n));
  }
  for (int n = 1; n <= HankakuKana.size(); ++n) {
    pieces.push_back(std::string(entryAt(HankakuKana, n)) + kVoicedMark);
    pieces.push_back(std::string(entryAt(HankakuKana, n)) + kSemiVoicedMark);
  }
  return pieces;
}

}  // namespace

const std::vector<char>& interestingBytes() {
  static const std::vector<char> bytes = [] {
    std::vector<char> list;
    const auto add = [&list](unsigned from, unsigned to) {
      for (unsigned b = from; b <= to; ++b) list.push_back(static_cast<char>(b));
    };
    for (unsigned b : {0x00u, 0x0Du, 0x0Au, 0x41u, 0x7Eu, 0x7Fu}) add(b, b);
    add(0x80, 0x83);
    add(0x87, 0x88);
    add(0xA0, 0xA6);
    for (unsigned b : {0xAFu, 0xB0u, 0xB1u, 0xB3u, 0xB6u, 0xC4u, 0xCAu}) add(b, b);
    add(0xDC, 0xDF);
    add(0xF0, 0xF9);
    add(0xFC, 0xFF);
    return list;
  }();
  return bytes;
}

RandomText::RandomText(std::uint32_t seed) : engine_(seed), pieces_(textPieces()) {}

std::size_t RandomText::upTo(std::size_t max) {
  return std::uniform_int_distribution<std::size_t>(0, max)(engine_);
}

std::string RandomText::next(std::size_t maxPieces) {
  const std::vector<char>& bytes = interestingBytes();
  std::string text;
  const std::size_t count = 1 + upTo(maxPieces - 1);
  for (std::size_t i = 0; i < count; ++i) {
    if (upTo(2) == 0) {
      text += bytes[upTo(bytes.size() - 1)];
    } else {
      text += pieces_[upTo(pieces_.size() - 1)];
    }
  }
  return text;
}

}  // namespace vesk::testing
