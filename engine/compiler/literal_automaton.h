// The deterministic automaton of a word table's literal words: a trie over
// alphabet columns whose end-of-word transitions lead into accepting states.
// Only the end-of-word column ever leads to an acceptance; the word finder's
// fast path over runs of word characters relies on it.
#ifndef LEXORA_ENGINE_COMPILER_LITERAL_AUTOMATON_H
#define LEXORA_ENGINE_COMPILER_LITERAL_AUTOMATON_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/compiler/column_map.h"

namespace Nimbra::Lexora {

class LiteralAutomaton {
 public:
  static constexpr uint16_t kNone = 0xFFFF;
  static constexpr uint16_t kAccept = 0x8000;  // on a cell: the target accepts
  static constexpr uint16_t kStateMask = 0x7FFF;
  static constexpr uint32_t kStateLimit = 0x7FFF;  // states 0..32,765

  // Column 0 is the end of a word; alphabet characters take columns from 1.
  void Initialize(std::u16string_view foldedAlphabet, bool exactCase);
  // Inserts a stored pattern; returns the accepting cell (bit 15 set), or
  // kNone for an empty pattern.
  uint16_t Insert(std::u16string_view pattern);

  // The cells, for a scan loop to hold in registers. Rows are padded to a
  // power of two, so that finding a row costs a shift, not a multiplication,
  // on the chain of dependent loads that stepping a word is.
  struct Rows {
    const uint16_t* cells;
    unsigned shift;
    uint16_t Cell(uint16_t state, int16_t column) const {
      return cells[(static_cast<size_t>(state) << shift) + static_cast<uint16_t>(column)];
    }
  };

  int16_t ColumnOf(char16_t unit) const { return columns_[unit]; }
  uint16_t Cell(uint16_t state, int16_t column) const { return rows().Cell(state, column); }
  Rows rows() const { return {cells_.data(), rowShift_}; }
  uint32_t stateCount() const { return stateCount_; }
  uint32_t wordCount() const { return wordCount_; }
  uint16_t columnCount() const { return columnCount_; }

 private:
  uint16_t NewState();
  uint16_t& CellRef(uint16_t state, int16_t column) {
    return cells_[(static_cast<size_t>(state) << rowShift_) + static_cast<uint16_t>(column)];
  }

  ColumnMap columns_;
  uint16_t columnCount_ = 1;
  uint32_t stateCount_ = 0;
  bool exactCase_ = false;
  uint32_t wordCount_ = 0;
  unsigned rowShift_ = 0;        // a row holds 1 << rowShift_ cells
  std::vector<uint16_t> cells_;  // stateCount_ rows of columnCount_ cells, padded
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_LITERAL_AUTOMATON_H
