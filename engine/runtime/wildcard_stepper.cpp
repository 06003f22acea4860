#include "engine/runtime/wildcard_stepper.h"

#include <algorithm>

namespace Nimbra::Lexora {

WildcardStepper::WildcardStepper(const WordTable& table)
    : table_(table),
      automaton_(table.wildcard()),
      inUse_(table.wildcardInUse()),
      stamps_(inUse_ ? automaton_.stateCount() : 0, 0) {}

void WildcardStepper::Start() {
  states_.clear();
  if (inUse_) states_.push_back(0);
}

bool WildcardStepper::Step(char16_t unit, bool boundary, bool wordCharacter, bool mayEndWord,
                           bool digit, bool letter, std::vector<uint32_t>& ids) {
  if (++generation_ == 0) {  // the stamps wrapped: start them afresh
    std::fill(stamps_.begin(), stamps_.end(), 0);
    generation_ = 1;
  }
  next_.clear();
  int16_t column = boundary ? -1 : automaton_.ColumnOf(table_.Fold(unit));
  for (uint16_t state : states_) {
    for (uint16_t u : automaton_.Expansion(state)) {
      if (column >= 0) Add(automaton_.Cell(u, column));
      if (wordCharacter) {
        Add(automaton_.Cell(u, WildcardAutomaton::kStarCharacter));
        Add(automaton_.Cell(u, WildcardAutomaton::kAnyCharacter));
      } else if (mayEndWord) {
        Add(automaton_.Cell(u, WildcardAutomaton::kEndOfWord));
      }
      if (digit) Add(automaton_.Cell(u, WildcardAutomaton::kDigit));
      if (letter) Add(automaton_.Cell(u, WildcardAutomaton::kLetter));
    }
  }
  states_.swap(next_);
  bool accepted = false;
  if (!wordCharacter && mayEndWord) {
    for (uint16_t state : states_) {
      if (automaton_.IsFinal(state)) {
        ids.push_back(table_.WildcardWord(state));
        accepted = true;
      }
    }
  }
  return accepted;
}

}  // namespace Nimbra::Lexora
