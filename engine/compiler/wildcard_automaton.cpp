#include "engine/compiler/wildcard_automaton.h"

#include <algorithm>

#include "engine/base/char_classes.h"
#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

void WildcardAutomaton::Initialize(std::u16string_view foldedAlphabet, bool exactCase) {
  exactCase_ = exactCase;
  columns_.Clear();
  columnCount_ = kFirstCharacter;
  for (char16_t c : foldedAlphabet) {
    columns_.Set(exactCase ? c : FoldUnit(c), static_cast<int16_t>(columnCount_++));
  }
  cells_.clear();
  epsilons_.clear();
  finalList_.clear();
  stateCount_ = 0;
  finalCount_ = 0;
  numberFinal_ = kNone;
  NewState();
}

uint16_t WildcardAutomaton::NewState() {
  if (stateCount_ + 1 >= kStateLimit) {
    throw RuntimeError(u"Script too big, exceeded maximum number of NFA states");
  }
  cells_.resize(cells_.size() + columnCount_, kNone);
  epsilons_.emplace_back();
  return static_cast<uint16_t>(stateCount_++);
}

void WildcardAutomaton::Split(uint16_t state) {
  if (!epsilons_[state].empty()) return;
  for (int16_t column = 0; column < static_cast<int16_t>(columnCount_); ++column) {
    uint16_t target = CellRef(state, column);
    if (target == kNone) continue;
    uint16_t moved = NewState();
    CellRef(moved, column) = target;
    CellRef(state, column) = kNone;
    AddEpsilon(state, moved);
  }
}

void WildcardAutomaton::AddEpsilon(uint16_t from, uint16_t to) {
  std::vector<uint16_t>& list = epsilons_[from];
  if (std::find(list.begin(), list.end(), to) == list.end()) list.push_back(to);
}

uint16_t WildcardAutomaton::ClassElement(uint16_t state, int16_t column) {
  if (Cell(state, column) != kNone) return Cell(state, column);
  uint16_t s1 = NewState();
  uint16_t s2 = NewState();
  Split(state);
  AddEpsilon(state, s1);
  CellRef(s1, column) = s2;
  return s2;
}

// Ends a pattern in a final state of its own. A state that has epsilon
// edges reaches it through a state of its own, so that no state mixes
// epsilon edges with cells.
uint16_t WildcardAutomaton::Finish(uint16_t state) {
  uint16_t final = NewState();
  if (epsilons_[state].empty()) {
    CellRef(state, kEndOfWord) = final;
  } else {
    uint16_t via = NewState();
    AddEpsilon(state, via);
    CellRef(via, kEndOfWord) = final;
  }
  if (std::find(finalList_.begin(), finalList_.end(), final) == finalList_.end()) {
    finalList_.push_back(final);
  }
  return final;
}

uint16_t WildcardAutomaton::Insert(std::u16string_view pattern) {
  if (pattern.empty()) return kNone;
  uint16_t state = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char16_t c = pattern[i];
    bool escaped = false;
    if (c == u'\\' && i + 1 < pattern.size()) {
      c = pattern[++i];
      escaped = true;
    }
    if (!escaped && c == u'*') {
      if (Cell(state, kStarCharacter) != kNone) {
        state = Cell(state, kStarCharacter);
        continue;
      }
      uint16_t s1 = NewState();
      uint16_t s2 = NewState();
      uint16_t s3 = NewState();
      Split(state);
      AddEpsilon(state, s1);
      AddEpsilon(state, s3);
      CellRef(s1, kStarCharacter) = s2;
      AddEpsilon(s2, s1);
      AddEpsilon(s2, s3);
      state = s3;
    } else if (!escaped && c == u'?') {
      state = ClassElement(state, kAnyCharacter);
    } else if (!escaped && c == u'[') {
      size_t close = pattern.find(u']', i + 1);
      std::u16string_view name = pattern.substr(
          i + 1, close == std::u16string_view::npos ? std::u16string_view::npos : close - i - 1);
      int32_t id = FindClass(name, false);
      if (close == std::u16string_view::npos || (id != kClassLetter && id != kClassDigit)) {
        throw RuntimeError(u"Invalid inline class");
      }
      state = ClassElement(state, id == kClassLetter ? kLetter : kDigit);
      i = close;
    } else {
      char16_t folded = exactCase_ ? c : FoldUnit(c);
      int16_t column = columns_[folded];
      if (column < 0) throw RuntimeError(u"Unexpected character '%lc'", folded);
      uint16_t target = Cell(state, column);
      if (target == kNone) {
        target = NewState();
        if (epsilons_[state].empty()) {
          CellRef(state, column) = target;
        } else {
          uint16_t via = NewState();
          AddEpsilon(state, via);
          CellRef(via, column) = target;
        }
      }
      state = target;
    }
  }
  return Finish(state);
}

uint16_t WildcardAutomaton::InsertNumberPattern() {
  if (numberFinal_ != kNone) return numberFinal_;
  uint16_t u = NewState();
  uint16_t v = NewState();
  Split(0);
  uint16_t m = NewState();
  AddEpsilon(0, m);
  CellRef(m, kDigit) = u;
  Split(u);
  AddEpsilon(u, v);
  CellRef(v, kDigit) = u;
  uint16_t final = NewState();
  CellRef(v, kEndOfWord) = final;
  finalList_.push_back(final);
  numberFinal_ = final;
  return final;
}

// Depth first, each target before what it leads to; iterative, since a
// pattern of many stars chains its epsilon edges deeply.
void WildcardAutomaton::Walk(uint16_t state, std::vector<uint16_t>& closure,
                             std::vector<uint8_t>& seen) const {
  std::vector<std::pair<uint16_t, size_t>> stack{{state, 0}};
  while (!stack.empty()) {
    auto& [from, next] = stack.back();
    if (next == epsilons_[from].size()) {
      stack.pop_back();
      continue;
    }
    uint16_t target = epsilons_[from][next++];
    if (seen[target]) continue;
    seen[target] = 1;
    closure.push_back(target);
    stack.push_back({target, 0});
  }
}

void WildcardAutomaton::Finalize() {
  closures_.assign(stateCount_, {});
  expansion_.clear();
  expansionStart_.assign(stateCount_ + 1, 0);
  std::vector<uint8_t> seen(stateCount_, 0);
  for (uint16_t s = 0; s < stateCount_; ++s) {
    expansionStart_[s] = static_cast<uint32_t>(expansion_.size());
    if (epsilons_[s].empty()) {
      expansion_.push_back(s);
      continue;
    }
    std::vector<uint16_t>& closure = closures_[s];
    Walk(s, closure, seen);
    for (uint16_t t : closure) {
      seen[t] = 0;
      if (epsilons_[t].empty()) expansion_.push_back(t);
    }
  }
  expansionStart_[stateCount_] = static_cast<uint32_t>(expansion_.size());
  finalFlags_.assign(stateCount_, 0);
  for (uint16_t f : finalList_) finalFlags_[f] = 1;
  finalCount_ += static_cast<uint32_t>(finalList_.size());
  finalList_.clear();
}

}  // namespace Nimbra::Lexora
