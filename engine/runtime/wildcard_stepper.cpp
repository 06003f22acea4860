#include "engine/runtime/wildcard_stepper.h"

#include <algorithm>

namespace Nimbra::Lexora {

WildcardStepper::WildcardStepper(const WordTable& table)
    : table_(table),
      automaton_(table.wildcard()),
      inUse_(table.wildcardInUse()),
      rowWidth_((static_cast<size_t>(automaton_.columnCount()) + 1) * kFlagCombinations),
      cacheLimit_(std::max(kCacheCells, 8 * rowWidth_)),
      stamps_(inUse_ ? automaton_.stateCount() : 0, 0) {
  if (inUse_) Intern(std::u16string(1, char16_t{0}));
}

int32_t WildcardStepper::Intern(const std::u16string& states) {
  auto found = index_.find(states);
  if (found != index_.end()) return found->second;
  if (rows_.size() + rowWidth_ > cacheLimit_) Flush();
  StateSet set{states, {}, rows_.size()};
  for (char16_t state : states) {
    if (automaton_.IsFinal(state)) set.finalWords.push_back(table_.WildcardWord(state));
  }
  rows_.resize(rows_.size() + rowWidth_, kUnknown);
  int32_t id = static_cast<int32_t>(sets_.size());
  sets_.push_back(std::move(set));
  index_.emplace(states, id);
  return id;
}

// Keeps the start set and the set being stepped from; everything else is
// recomputed as it is reached again.
void WildcardStepper::Flush() {
  std::u16string current = sets_[current_].states;
  sets_.clear();
  index_.clear();
  rows_.clear();
  Intern(std::u16string(1, char16_t{0}));
  current_ = Intern(current);
}

int32_t WildcardStepper::Compute(size_t input, int16_t column, bool wordCharacter, bool mayEndWord,
                                 bool digit, bool letter) {
  if (++generation_ == 0) {  // the stamps wrapped: start them afresh
    std::fill(stamps_.begin(), stamps_.end(), 0);
    generation_ = 1;
  }
  next_.clear();
  for (char16_t state : sets_[current_].states) {
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
  int32_t target = next_.empty() ? kDeadSet : Intern(next_);  // may flush
  rows_[sets_[current_].row + input] = target;
  return target;
}

}  // namespace Nimbra::Lexora
