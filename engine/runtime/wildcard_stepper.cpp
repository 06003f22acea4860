#include "engine/runtime/wildcard_stepper.h"

#include <algorithm>

namespace Nimbra::Lexora {

WildcardStepper::WildcardStepper(const WordTable& table)
    : table_(table),
      automaton_(table.wildcard()),
      inUse_(table.wildcardInUse()),
      classOf_(inUse_ ? (static_cast<size_t>(automaton_.columnCount()) + 1) * kFlagCombinations : 0,
               kNoClass),
      stamps_(inUse_ ? automaton_.stateCount() : 0, 0) {
  latinWordClass_.fill(kNoClass);
  if (inUse_) Intern(std::u16string(1, char16_t{0}));
}

int32_t WildcardStepper::Intern(const std::u16string& states) {
  auto found = index_.find(states);
  if (found != index_.end()) return found->second;
  if (rows_.size() + kMaxClasses > kCacheCells) Flush();
  StateSet set{states, {}};
  for (char16_t state : states) {
    if (automaton_.IsFinal(state)) set.finalWords.push_back(table_.WildcardWord(state));
  }
  rows_.resize(rows_.size() + kMaxClasses, kUnknown);
  int32_t id = static_cast<int32_t>(sets_.size());
  sets_.push_back(std::move(set));
  index_.emplace(states, id);
  return id;
}

void WildcardStepper::ComputeWordCharacter(char16_t unit, uint8_t role) {
  const bool digit = role & kRoleDigit, letter = role & kRoleLetter;
  int16_t column = automaton_.ColumnOf(table_.Fold(unit));
  uint8_t inputClass = ClassOf(column, true, true, digit, letter);
  if (unit < kLatinUnits) latinWordClass_[unit] = inputClass;
  MoveOn(inputClass, column, true, true, digit, letter);
}

// Out of classes, every row is forgotten with them: a row's cells are
// indexed by class.
uint8_t WildcardStepper::NewClass(size_t input) {
  if (classCount_ == kMaxClasses) {
    std::fill(classOf_.begin(), classOf_.end(), kNoClass);
    latinWordClass_.fill(kNoClass);
    classCount_ = 0;
    Flush();
  }
  classOf_[input] = static_cast<uint8_t>(classCount_++);
  return classOf_[input];
}

void WildcardStepper::Flush() {
  std::u16string current = sets_[current_].states;
  sets_.clear();
  index_.clear();
  rows_.clear();
  Intern(std::u16string(1, char16_t{0}));
  current_ = Intern(current);
}

int32_t WildcardStepper::Compute(uint8_t inputClass, int16_t column, bool wordCharacter,
                                 bool mayEndWord, bool digit, bool letter) {
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
  rows_[RowOf(current_) + inputClass] = target;
  return target;
}

}  // namespace Nimbra::Lexora
