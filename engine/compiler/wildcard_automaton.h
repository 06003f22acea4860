// The nondeterministic automaton of a word table's wildcard patterns (with
// `*`, `?` and the inline classes LETTER and DIGIT), and of the number
// pattern behind the NUM class.
//
// Trade-off: a nondeterministic automaton stepped as a set of states costs
// more per character than a DFA, but never blows up in size, whatever the
// patterns; wildcard patterns are few beside literal words, which have a DFA
// of their own.
#ifndef LEXORA_ENGINE_COMPILER_WILDCARD_AUTOMATON_H
#define LEXORA_ENGINE_COMPILER_WILDCARD_AUTOMATON_H

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/compiler/column_map.h"

namespace Nimbra::Lexora {

class WildcardAutomaton {
 public:
  static constexpr uint16_t kNone = 0xFFFF;
  static constexpr uint32_t kStateLimit = 0x7FFF;  // states 0..32,765
  // Reserved columns; alphabet characters take columns from kFirstCharacter.
  static constexpr int16_t kEndOfWord = 0;
  static constexpr int16_t kStarCharacter = 1;
  static constexpr int16_t kAnyCharacter = 2;
  static constexpr int16_t kDigit = 3;
  static constexpr int16_t kLetter = 4;
  static constexpr int16_t kFirstCharacter = 5;

  void Initialize(std::u16string_view foldedAlphabet, bool exactCase);
  // Inserts a stored wildcard pattern; returns its final state (kNone for an
  // empty pattern).
  uint16_t Insert(std::u16string_view pattern);
  // Digits then the end of the word; built once.
  uint16_t InsertNumberPattern();
  // Computes the closures and final flags; after this the automaton is
  // read-only.
  void Finalize();

  int16_t ColumnOf(char16_t unit) const { return columns_[unit]; }
  uint16_t Cell(uint16_t state, int16_t column) const {
    return cells_[static_cast<size_t>(state) * columnCount_ + static_cast<uint16_t>(column)];
  }
  // The states a state stands for when stepped: the states without epsilon
  // edges in its closure, or the state itself when it has no epsilon edges.
  std::span<const uint16_t> Expansion(uint16_t state) const {
    return {expansion_.data() + expansionStart_[state],
            expansion_.data() + expansionStart_[state + 1]};
  }
  const std::vector<uint16_t>& Closure(uint16_t state) const { return closures_[state]; }
  bool IsFinal(uint16_t state) const { return finalFlags_[state] != 0; }
  bool inUse() const { return finalCount_ > 0; }
  uint32_t stateCount() const { return stateCount_; }
  uint16_t columnCount() const { return columnCount_; }

 private:
  uint16_t NewState();
  uint16_t& CellRef(uint16_t state, int16_t column) {
    return cells_[static_cast<size_t>(state) * columnCount_ + static_cast<uint16_t>(column)];
  }
  // Moves a state's cells to new states reached by epsilon edges, so that
  // the state can take epsilon edges of its own.
  void Split(uint16_t state);
  void AddEpsilon(uint16_t from, uint16_t to);
  // One character element on `column` (?, [DIGIT], [LETTER]).
  uint16_t ClassElement(uint16_t state, int16_t column);
  uint16_t Finish(uint16_t state);
  void Walk(uint16_t state, std::vector<uint16_t>& closure, std::vector<uint8_t>& seen) const;

  ColumnMap columns_;
  uint16_t columnCount_ = kFirstCharacter;
  uint32_t stateCount_ = 0;
  bool exactCase_ = false;
  std::vector<uint16_t> cells_;
  std::vector<std::vector<uint16_t>> epsilons_;
  std::vector<std::vector<uint16_t>> closures_;
  std::vector<uint16_t> expansion_;
  std::vector<uint32_t> expansionStart_;
  std::vector<uint16_t> finalFlags_;
  std::vector<uint16_t> finalList_;
  uint32_t finalCount_ = 0;
  uint16_t numberFinal_ = kNone;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_WILDCARD_AUTOMATON_H
