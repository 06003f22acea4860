#include "engine/compiler/literal_automaton.h"

#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

void LiteralAutomaton::Initialize(std::u16string_view foldedAlphabet, bool exactCase) {
  exactCase_ = exactCase;
  columns_.Clear();
  columnCount_ = 1;
  for (char16_t c : foldedAlphabet) {
    // A character met twice after folding takes the later column.
    columns_.Set(exactCase ? c : FoldUnit(c), static_cast<int16_t>(columnCount_++));
  }
  rowShift_ = 0;
  while ((1u << rowShift_) < columnCount_) ++rowShift_;
  cells_.clear();
  stateCount_ = 0;
  wordCount_ = 0;
  NewState();
}

uint16_t LiteralAutomaton::NewState() {
  if (stateCount_ + 1 >= kStateLimit) {
    throw RuntimeError(u"Script too big, exceeded maximum number of DFA states");
  }
  cells_.resize(cells_.size() + (size_t{1} << rowShift_), kNone);
  return static_cast<uint16_t>(stateCount_++);
}

uint16_t LiteralAutomaton::Insert(std::u16string_view pattern) {
  if (pattern.empty()) return kNone;
  uint16_t state = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'\\' && i + 1 < pattern.size()) ++i;  // the next character is literal
    char16_t c = exactCase_ ? pattern[i] : FoldUnit(pattern[i]);
    int16_t column = columns_[c];
    if (column < 0) throw RuntimeError(u"Unexpected character '%lc'", c);
    uint16_t target = CellRef(state, column);
    if (target == kNone) {
      target = NewState();
      CellRef(state, column) = target;
    }
    state = target & kStateMask;
  }
  uint16_t& end = CellRef(state, 0);
  if (end == kNone) {
    uint16_t accepting = NewState();
    CellRef(state, 0) = static_cast<uint16_t>(accepting | kAccept);
    ++wordCount_;
    return static_cast<uint16_t>(accepting | kAccept);
  }
  if (!(end & kAccept)) {
    end |= kAccept;
    ++wordCount_;
  }
  return end;
}

}  // namespace Nimbra::Lexora
