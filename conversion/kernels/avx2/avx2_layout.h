#pragma once

// The AVX2 kernel's form of a conversion, derived from the rules when the
// program is compiled. Each place of a block writes bytes of its own: a
// letter (a first byte whose unit takes two bytes only before a mark) its
// two-byte form, or where the mark after it folds into a marked form, the
// lead byte, and the mark's place the marked trail; a mark the letter has no
// form for writes the wide mark. A pair that converts writes its first
// output byte at its first place and its second (if any) at its second; any
// other byte writes itself. The build stops where a table stops fitting
// this form.
//
// Pairs are looked up by cells where they fit (to standard): a cell holds
// the pairs of one first byte whose second bytes share their high nibble,
// and the pairs of a cell write the first byte's output byte and the second
// byte plus the cell's amount, but for a few odd pairs checked one by one.
// Where they do not fit (to local), pairs are looked up three ways, by first
// byte: runs (second bytes in a range whose output is a fixed first byte and
// the second byte plus a fixed amount: the hiragana), one row in tables of 16
// per high nibble of the second byte (the full-width katakana), and the rest
// (the symbols) in a table of 32 slots, one for each pair, found by a hash of
// its two bytes.
//
// Tables of 16 per high nibble are looked up 16 bytes at a time by the low
// four bits. A byte b looks in table q with b - base + 0x70 - 16q, saturated:
// the high bit, which makes the shuffle give zero, is set from the table
// after its own nibble on. So each table holds the XOR of its own nibble's
// entries and the next table's, and the XOR of all lookups is the entry of
// b's nibble.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "conversion/kernels/unit_shape.h"

namespace vesk::detail::avx2 {

inline constexpr std::size_t kLetterNibbles = 4;
inline constexpr std::size_t kRowNibbles = 6;
inline constexpr std::size_t kMaxRuns = 2;
inline constexpr std::size_t kMaxRunsPerRow = 2;
inline constexpr std::size_t kSparseSlots = 32;
inline constexpr std::size_t kMaxLetterLeads = 4;
inline constexpr std::size_t kCellCount = 16;
inline constexpr std::size_t kMaxOddPairs = 2;
// A row takes the nibble tables only with at least this many pairs; smaller
// rows go to the sparse slots.
inline constexpr std::size_t kMinNibbleRowPairs = 32;

// A letter's info byte: the high bit marks a letter, bits 4-5 pick its lead
// byte, bits 0-1 and 2-3 say how much the first and second mark add to its
// trail byte (0: no marked form).
inline constexpr std::uint8_t kIsLetter = 0x80;
inline constexpr unsigned kLeadShift = 4;
inline constexpr unsigned kAddBits = 2;

// Second bytes first to first + span of pairs led by lead become out0 and the
// second byte plus add.
struct Run {
  std::uint8_t lead = 0;
  std::uint8_t first = 0;
  std::uint8_t span = 0;
  std::uint8_t out0 = 0;
  std::uint8_t add = 0;  // modulo 256
};

struct NibbleRow {
  std::uint8_t lead = 0;
  std::uint8_t trailBase = 0;  // a multiple of 16
  std::uint8_t nibbles = 0;    // 0: no row
  // By second byte - trailBase: the step's first and second output bytes;
  // both 0 where the pair is copied, the second 0 where it writes one byte.
  std::array<std::uint8_t, 16 * kRowNibbles> first{};
  std::array<std::uint8_t, 16 * kRowNibbles> second{};
};

// Pairs of the rows left over, each in a slot of its own: the pair
// (lead, second) is in slot (second + nibbleShift[second >> 4] +
// leadShift[lead & 15]) % 32, the shifts found when the program is compiled.
// A slot holds its pair's two bytes, which a lookup checks, and its step's
// output bytes (the second 0 where the step writes one); an empty slot is
// all zeros and matches nothing that converts.
struct SparsePairs {
  std::array<std::uint8_t, 16> nibbleShift{};
  std::array<std::uint8_t, 16> leadShift{};
  std::array<std::uint8_t, kSparseSlots> lead{};
  std::array<std::uint8_t, kSparseSlots> second{};
  std::array<std::uint8_t, kSparseSlots> first{};
  std::array<std::uint8_t, kSparseSlots> outSecond{};
  std::size_t count = 0;
};

// A pair whose second output byte is not its second byte plus its cell's
// amount.
struct OddPair {
  std::uint8_t lead = 0;
  std::uint8_t second = 0;
  std::uint8_t outSecond = 0;
};

// Pairs in 16 cells: the pair (lead, second) is in cell (cellBase[lead & 15]
// + (second >> 4)) % 16, which holds its lead, so that a lookup can check
// it, and a bit for each second byte it holds, by low nibble. Every first
// byte's pairs write the same first byte.
struct PairCells {
  bool fit = false;
  std::array<std::uint8_t, 16> cellBase{};          // by lead & 15
  std::array<std::uint8_t, 16> first{};             // by lead & 15
  std::array<std::uint8_t, kCellCount> lead{};      // 0: an empty cell
  std::array<std::uint8_t, kCellCount> lowBits{};   // bit n: second byte x0 + n
  std::array<std::uint8_t, kCellCount> highBits{};  // bit n: second byte x8 + n
  std::array<std::uint8_t, kCellCount> add{};       // to the second byte, modulo 256
  std::array<OddPair, kMaxOddPairs> odd{};
  std::size_t oddCount = 0;
};

struct Layout {
  UnitShape shape;
  // Letters, by byte - letterBase.
  std::uint8_t letterBase = 0;
  std::array<std::uint8_t, 16 * kLetterNibbles> letterInfo{};
  std::array<std::uint8_t, 16 * kLetterNibbles> letterTrail{};
  std::array<std::uint8_t, 16> letterLeads{};  // by lead index
  std::size_t letterLeadCount = 0;
  // What the place of a mark writes after a letter that has no marked form
  // for it, by mark.
  std::array<std::uint8_t, UnitShape::kMaxMarks> wideLead{};
  std::array<std::uint8_t, UnitShape::kMaxMarks> wideTrail{};
  PairCells cells;
  std::array<Run, kMaxRuns> runs{};
  std::size_t runCount = 0;
  NibbleRow row;
  SparsePairs sparse;
};

constexpr std::uint8_t byteOf(const rules::Step& step, unsigned i) {
  return static_cast<std::uint8_t>(step.bytes >> (8 * i));
}

constexpr void addLetter(Layout& layout, Direction direction, unsigned letter) {
  if (letter < layout.letterBase || letter >= layout.letterBase + 16 * kLetterNibbles) {
    throw "letters beyond the span of the letter tables";
  }
  unsigned notMark = 0;
  while (layout.shape.isMark(notMark)) ++notMark;
  const rules::Step plain = stepOf(direction, letter, static_cast<int>(notMark));
  if (plain.copied || plain.length != 2 || byteOf(plain, 1) == 0) {
    throw "a letter that does not become two bytes";
  }
  const std::size_t at = letter - layout.letterBase;
  std::size_t lead = 0;
  while (lead < layout.letterLeadCount && layout.letterLeads[lead] != byteOf(plain, 0)) ++lead;
  if (lead == kMaxLetterLeads) throw "more lead bytes of letters than the info byte holds";
  layout.letterLeads[lead] = byteOf(plain, 0);
  layout.letterLeadCount = std::max(layout.letterLeadCount, lead + 1);
  layout.letterInfo[at] = static_cast<std::uint8_t>(kIsLetter | lead << kLeadShift);
  layout.letterTrail[at] = byteOf(plain, 1);
  for (std::size_t m = 0; m < layout.shape.markCount; ++m) {
    const rules::Step marked = stepOf(direction, letter, layout.shape.markBytes[m]);
    if (marked.length == 4 && (marked.bytes & 0xFFFF) == (plain.bytes & 0xFFFF)) {
      // The letter, then the wide mark: the same for every letter.
      const std::uint8_t wideLead = byteOf(marked, 2), wideTrail = byteOf(marked, 3);
      if ((layout.wideLead[m] != 0 && layout.wideLead[m] != wideLead) ||
          (layout.wideTrail[m] != 0 && layout.wideTrail[m] != wideTrail) || wideLead == 0 ||
          wideTrail == 0) {
        throw "wide marks that differ from letter to letter";
      }
      layout.wideLead[m] = wideLead;
      layout.wideTrail[m] = wideTrail;
      continue;
    }
    const unsigned adds = byteOf(marked, 1) - byteOf(plain, 1);
    if (marked.length != 2 || byteOf(marked, 0) != byteOf(plain, 0) || adds == 0 ||
        adds >= 1u << kAddBits) {
      throw "a marked form that is not its letter's trail plus 1 to 3";
    }
    layout.letterInfo[at] |= static_cast<std::uint8_t>(adds << (kAddBits * m));
  }
}

// The pairs a first byte leads.
struct PairRow {
  unsigned lead = 0;
  bool writesOneByte = false;  // some pair writes one byte
  // By second byte: the first output byte, the second above it; 0 where the
  // pair is copied.
  std::array<std::uint16_t, 256> steps{};
  std::size_t converting = 0;
  unsigned firstTrail = 256;
  unsigned lastTrail = 0;
  std::array<Run, kMaxRunsPerRow> runs{};
  std::size_t runCount = 0;  // kMaxRunsPerRow + 1: more than that
};

constexpr PairRow pairRowOf(Direction direction, unsigned lead) {
  PairRow row;
  row.lead = lead;
  for (unsigned second = 0; second < 256; ++second) {
    const rules::Step step = stepOf(direction, lead, static_cast<int>(second));
    if (step.copied) continue;
    if (step.taken != 2 || step.length == 0 || step.length > 2 || byteOf(step, 0) == 0 ||
        byteOf(step, step.length - 1) == 0) {
      throw "a pair that does not become one or two bytes, none of them zero";
    }
    row.steps[second] = static_cast<std::uint16_t>(step.bytes);
    row.writesOneByte |= step.length == 1;
    ++row.converting;
    if (row.firstTrail == 256) row.firstTrail = second;
    row.lastTrail = second;
    // Runs: consecutive second bytes, each writing two bytes, the same first
    // and the second one on from the one before.
    if (row.runCount > kMaxRunsPerRow) continue;
    const auto out0 = byteOf(step, 0);
    const auto add = static_cast<std::uint8_t>(byteOf(step, 1) - second);
    Run* last = row.runCount == 0 ? nullptr : &row.runs[row.runCount - 1];
    if (step.length != 2) {
      row.runCount = kMaxRunsPerRow + 1;
    } else if (last != nullptr && last->first + last->span + 1u == second && last->out0 == out0 &&
               last->add == add) {
      ++last->span;
    } else if (row.runCount < kMaxRunsPerRow) {
      row.runs[row.runCount++] = {static_cast<std::uint8_t>(lead),
                                  static_cast<std::uint8_t>(second), 0, out0, add};
    } else {
      row.runCount = kMaxRunsPerRow + 1;
    }
  }
  return row;
}

// Gives each first byte's cells a base such that no two share a cell: the
// high nibbles of its second bytes, turned by the base.
constexpr bool placeCells(PairCells& cells, const std::array<std::uint16_t, 16>& nibbles,
                          unsigned lead, std::uint16_t taken) {
  if (lead == 16) return true;
  if (nibbles[lead] == 0) return placeCells(cells, nibbles, lead + 1, taken);
  for (unsigned base = 0; base < kCellCount; ++base) {
    const std::uint16_t placed = std::rotl(nibbles[lead], static_cast<int>(base));
    if ((placed & taken) != 0) continue;
    cells.cellBase[lead] = static_cast<std::uint8_t>(base);
    if (placeCells(cells, nibbles, lead + 1, static_cast<std::uint16_t>(taken | placed))) {
      return true;
    }
  }
  return false;
}

// The pairs of the rows in cells, where they fit: their first bytes share a
// high nibble, each pair writes two bytes, the first the same for all pairs
// of a first byte, the second byte is below 0x80 (the bit lookup gives
// nothing above), and the cells number 16 at most, with few odd pairs.
constexpr PairCells cellsOf(std::span<const PairRow> rows) {
  // Visits each pair that converts, with its two output bytes; stops and
  // gives false where visit gives false.
  const auto forEachPair = [rows](auto visit) {
    for (const PairRow& row : rows) {
      for (unsigned second = row.firstTrail; second <= row.lastTrail; ++second) {
        const std::uint16_t out = row.steps[second];
        if (out != 0 && !visit(row.lead, second, out & 0xFF, out >> 8)) return false;
      }
    }
    return true;
  };
  PairCells cells;
  std::array<std::uint16_t, 16> nibbles{};
  for (const PairRow& row : rows) {
    if ((row.lead & 0xF0) != (rows[0].lead & 0xF0) || row.writesOneByte || row.lastTrail >= 0x80) {
      return {};
    }
  }
  const bool shaped = forEachPair([&](unsigned lead, unsigned second, unsigned first, unsigned) {
    std::uint8_t& leadFirst = cells.first[lead & 15];
    if (leadFirst != 0 && leadFirst != first) return false;
    leadFirst = static_cast<std::uint8_t>(first);
    nibbles[lead & 15] |= static_cast<std::uint16_t>(1u << (second >> 4));
    return true;
  });
  if (!shaped || !placeCells(cells, nibbles, 0, 0)) return {};
  const auto cellOf = [&cells](unsigned lead, unsigned second) {
    return (cells.cellBase[lead & 15] + (second >> 4)) % kCellCount;
  };
  // Each cell's amount is the one most of its pairs add.
  std::array<std::array<std::uint8_t, 256>, kCellCount> adding{};
  forEachPair([&](unsigned lead, unsigned second, unsigned, unsigned outSecond) {
    const std::size_t cell = cellOf(lead, second);
    cells.lead[cell] = static_cast<std::uint8_t>(lead);
    auto& bits = (second & 8) == 0 ? cells.lowBits : cells.highBits;
    bits[cell] = static_cast<std::uint8_t>(bits[cell] | 1u << (second & 7));
    ++adding[cell][static_cast<std::uint8_t>(outSecond - second)];
    return true;
  });
  for (std::size_t cell = 0; cell < kCellCount; ++cell) {
    cells.add[cell] = static_cast<std::uint8_t>(
        std::max_element(adding[cell].begin(), adding[cell].end()) - adding[cell].begin());
  }
  cells.fit = forEachPair([&](unsigned lead, unsigned second, unsigned, unsigned outSecond) {
    if (static_cast<std::uint8_t>(second + cells.add[cellOf(lead, second)]) == outSecond) {
      return true;
    }
    if (cells.oddCount == kMaxOddPairs) return false;
    cells.odd[cells.oddCount++] = {static_cast<std::uint8_t>(lead),
                                   static_cast<std::uint8_t>(second),
                                   static_cast<std::uint8_t>(outSecond)};
    return true;
  });
  return cells;
}

constexpr NibbleRow nibbleRowOf(const PairRow& row) {
  NibbleRow nibbles;
  nibbles.lead = static_cast<std::uint8_t>(row.lead);
  nibbles.trailBase = static_cast<std::uint8_t>(row.firstTrail & 0xF0);
  nibbles.nibbles = static_cast<std::uint8_t>((row.lastTrail >> 4) - (row.firstTrail >> 4) + 1);
  for (unsigned trail = row.firstTrail; trail <= row.lastTrail; ++trail) {
    nibbles.first[trail - nibbles.trailBase] = static_cast<std::uint8_t>(row.steps[trail]);
    nibbles.second[trail - nibbles.trailBase] = static_cast<std::uint8_t>(row.steps[trail] >> 8);
  }
  return nibbles;
}

// Finds the shifts that give each sparse pair a slot of its own. Pairs with
// the same low nibble of lead and high nibble of second byte (a cell) move
// together, their slots a fixed pattern turned by the cell's shift, so the
// search tries shifts cell by cell, the largest first, and backs out of a
// shift that lands on a taken slot.
class SparseSearch {
 public:
  constexpr explicit SparseSearch(const SparsePairs& pairs) {
    for (std::size_t i = 0; i < pairs.count; ++i) {
      const unsigned lead = pairs.lead[i] & 15, nibble = pairs.second[i] >> 4;
      std::size_t c = 0;
      while (c < cellCount_ && (cells_[c].lead != lead || cells_[c].nibble != nibble)) ++c;
      if (c == cellCount_) cells_[cellCount_++] = {lead, nibble, 0};
      cells_[c].slots |= 1u << (pairs.second[i] & 15);
    }
    std::sort(cells_.begin(), cells_.begin() + static_cast<std::ptrdiff_t>(cellCount_),
              [](const Cell& a, const Cell& b) {
                return std::popcount(a.slots) > std::popcount(b.slots);
              });
    findGaugeLeads();
    nibbleShift_.fill(kUnset);
    leadShift_.fill(kUnset);
    if (!place(0, 0)) throw "sparse pairs that no shifts give slots of their own";
  }

  constexpr std::uint8_t nibbleShift(unsigned nibble) const {
    return shiftOf(nibbleShift_[nibble]);
  }
  constexpr std::uint8_t leadShift(unsigned lead) const { return shiftOf(leadShift_[lead]); }

 private:
  static constexpr unsigned kUnset = kSparseSlots;
  static constexpr unsigned kMaxTries = 1u << 20;

  struct Cell {
    unsigned lead = 0;
    unsigned nibble = 0;
    std::uint32_t slots = 0;  // by low nibble of second byte, before turning
  };

  static constexpr std::uint8_t shiftOf(unsigned shift) {
    return shift == kUnset ? 0 : static_cast<std::uint8_t>(shift);
  }

  // Shifting the nibbles of cells joined by shared leads and nibbles one way
  // and their leads the other changes no slot, so the first lead of each
  // such group can stay at 0.
  constexpr void findGaugeLeads() {
    std::array<unsigned, 32> group{};  // leads, then nibbles
    for (unsigned v = 0; v < 32; ++v) group[v] = v;
    const auto root = [&group](unsigned v) {
      while (group[v] != v) v = group[v];
      return v;
    };
    for (std::size_t c = 0; c < cellCount_; ++c) {
      group[root(cells_[c].lead)] = root(16 + cells_[c].nibble);
    }
    std::array<bool, 32> gauged{};
    for (std::size_t c = 0; c < cellCount_; ++c) {
      bool& done = gauged[root(cells_[c].lead)];
      if (!done) gaugeLead_[cells_[c].lead] = true;
      done = true;
    }
  }

  constexpr bool place(std::size_t c, std::uint32_t taken) {
    if (c == cellCount_) return true;
    if (++tries_ > kMaxTries) throw "a search for sparse slots that does not end";
    const Cell& cell = cells_[c];
    unsigned& lead = leadShift_[cell.lead];
    if (lead == kUnset) return tryShifts(lead, gaugeLead_[cell.lead] ? 1 : kSparseSlots, c, taken);
    unsigned& nibble = nibbleShift_[cell.nibble];
    if (nibble == kUnset) return tryShifts(nibble, kSparseSlots, c, taken);
    const auto turn = static_cast<int>((16 * cell.nibble + nibble + lead) % kSparseSlots);
    const std::uint32_t slots = std::rotl(cell.slots, turn);
    return (slots & taken) == 0 && place(c + 1, taken | slots);
  }

  constexpr bool tryShifts(unsigned& shift, unsigned choices, std::size_t c, std::uint32_t taken) {
    for (shift = 0; shift < choices; ++shift) {
      if (place(c, taken)) return true;
    }
    shift = kUnset;
    return false;
  }

  std::array<Cell, kSparseSlots> cells_{};
  std::size_t cellCount_ = 0;
  std::array<bool, 16> gaugeLead_{};
  std::array<unsigned, 16> nibbleShift_{};
  std::array<unsigned, 16> leadShift_{};
  unsigned tries_ = 0;
};

constexpr void addSparseRow(SparsePairs& sparse, const PairRow& row) {
  for (unsigned second = row.firstTrail; second <= row.lastTrail; ++second) {
    if (row.steps[second] == 0) continue;
    if (sparse.count == kSparseSlots) throw "more sparse pairs than slots";
    sparse.lead[sparse.count] = static_cast<std::uint8_t>(row.lead);
    sparse.second[sparse.count] = static_cast<std::uint8_t>(second);
    sparse.first[sparse.count] = static_cast<std::uint8_t>(row.steps[second]);
    sparse.outSecond[sparse.count++] = static_cast<std::uint8_t>(row.steps[second] >> 8);
  }
}

// Moves the pairs, gathered in order, to their slots.
constexpr void hashSparse(SparsePairs& sparse) {
  const SparseSearch search(sparse);
  SparsePairs hashed;
  for (unsigned i = 0; i < 16; ++i) {
    hashed.nibbleShift[i] = search.nibbleShift(i);
    hashed.leadShift[i] = search.leadShift(i);
  }
  for (std::size_t i = 0; i < sparse.count; ++i) {
    const unsigned slot = (unsigned{sparse.second[i]} + hashed.nibbleShift[sparse.second[i] >> 4] +
                           hashed.leadShift[sparse.lead[i] & 15]) %
                          kSparseSlots;
    // Every pair writes a first byte that is not zero.
    if (hashed.first[slot] != 0) throw "two sparse pairs in one slot";
    hashed.lead[slot] = sparse.lead[i];
    hashed.second[slot] = sparse.second[i];
    hashed.first[slot] = sparse.first[i];
    hashed.outSecond[slot] = sparse.outSecond[i];
  }
  hashed.count = sparse.count;
  sparse = hashed;
}

// Turns tables of 16 per nibble into the XOR form described above. Bytes
// below base wrap to 256 - base and up, which sets the high bit in every
// table as long as the tables end within the byte range.
template <std::size_t kSize>
constexpr void chain(std::array<std::uint8_t, kSize>& tables, std::size_t base,
                     std::size_t nibbles) {
  if (base + 16 * nibbles > 256) throw "tables that end beyond the byte range";
  for (std::size_t at = 0; at + 16 < kSize; ++at) tables[at] ^= tables[at + 16];
}

constexpr Layout deriveLayout(Direction direction) {
  Layout layout;
  layout.shape = deriveShape(direction);
  if (layout.shape.singleByteLimit < 0x7F) throw "first bytes below 0x7F that may convert";
  if (layout.shape.markCount > 0) {
    layout.letterBase = static_cast<std::uint8_t>(layout.shape.markLeadRanges[0].first & 0xF0);
  }
  std::array<PairRow, 128> rows{};
  std::size_t rowCount = 0;
  for (unsigned first = layout.shape.singleByteLimit; first < 256; ++first) {
    if (layout.shape.isMarkLead(first)) {
      addLetter(layout, direction, first);
    } else if (PairRow row = pairRowOf(direction, first); row.converting > 0) {
      // With letters every place writes one or two bytes (see the kernel).
      if (layout.shape.markCount > 0 && row.writesOneByte) {
        throw "a pair that writes one byte in a conversion with letters";
      }
      rows[rowCount++] = row;
    }
  }
  // Pairs that fit in cells need no rows. Otherwise the busiest rows first:
  // runs where they fit, then one nibble row, then the rest in the sparse
  // slots.
  layout.cells = cellsOf({rows.data(), rowCount});
  if (layout.cells.fit) rowCount = 0;
  std::sort(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(rowCount),
            [](const PairRow& a, const PairRow& b) { return a.converting > b.converting; });
  for (std::size_t i = 0; i < rowCount; ++i) {
    const PairRow& row = rows[i];
    if (row.runCount <= kMaxRunsPerRow && layout.runCount + row.runCount <= kMaxRuns) {
      for (std::size_t r = 0; r < row.runCount; ++r) layout.runs[layout.runCount++] = row.runs[r];
    } else if (layout.row.nibbles == 0 && row.converting >= kMinNibbleRowPairs &&
               (row.lastTrail >> 4) - (row.firstTrail >> 4) < kRowNibbles) {
      layout.row = nibbleRowOf(row);
    } else {
      addSparseRow(layout.sparse, row);
    }
  }
  chain(layout.letterInfo, layout.letterBase, kLetterNibbles);
  chain(layout.letterTrail, layout.letterBase, kLetterNibbles);
  chain(layout.row.first, layout.row.trailBase, layout.row.nibbles);
  chain(layout.row.second, layout.row.trailBase, layout.row.nibbles);
  hashSparse(layout.sparse);
  chain(layout.sparse.lead, 0, 2);
  chain(layout.sparse.second, 0, 2);
  chain(layout.sparse.first, 0, 2);
  chain(layout.sparse.outSecond, 0, 2);
  return layout;
}

}  // namespace vesk::detail::avx2
