#include "engine/runtime/word_finder.h"

#include <algorithm>
#include <bit>

#include "engine/base/unit_roles.h"

namespace Nimbra::Lexora {
namespace {

// Only digits make a number word; an escaping backslash is passed over.
bool IsNumberText(std::u16string_view text) {
  bool any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) ++i;
    if (!(RoleOf(text[i]) & kRoleDigit)) return false;
    any = true;
  }
  return any;
}

// Where the run of plain word characters from `n` ends. Eight units are
// classified at a time without a branch, so that the end of a word, which
// falls anywhere, costs one mispredicted branch per word at most.
size_t EndOfWordCharacters(std::u16string_view units, size_t n) {
  static_assert(kRoleWord == 1);
  for (; n + 8 <= units.size(); n += 8) {
    unsigned mask = 0;
    for (unsigned i = 0; i < 8; ++i)
      mask |= static_cast<unsigned>(RoleOf(units[n + i]) & kRoleWord) << i;
    if (mask != 0xFF) return n + static_cast<size_t>(std::countr_one(mask));
  }
  while (n < units.size() && (RoleOf(units[n]) & kRoleWord)) ++n;
  return n;
}

}  // namespace

WordFinder::WordFinder(const WordData& words, NormalizingReader& reader,
                       std::array<WildcardStepper, 2>& wildcards, BlockTrial& trial, Method method)
    : words_(words),
      reader_(reader),
      literals_{{&words.folded, words.folded.literalInUse(), kDead},
                {&words.exact, words.exact.literalInUse(), kDead}},
      wildcards_(wildcards),
      foldedOnly_(method == Method::kFast && words.FoldedLiteralsOnly()),
      trial_(trial),
      runs_(method != Method::kPerUnit) {
  ids_.reserve(16);
}

void WordFinder::Restart() {
  ResetAttempt();
  SkipSeparators();
}

void WordFinder::ResetAttempt() {
  for (Literal& l : literals_) l.state = l.inUse ? 0 : kDead;
  for (WildcardStepper& w : wildcards_) w.Start();
  wordStarted_ = hasContent_ = separatorSeen_ = false;
  literalAccepted_ = wildcardAccepted_ = false;
  literalEnd_ = 0;
  ids_.clear();
  textLength_ = 0;
  fresh_ = true;
}

void WordFinder::SkipSeparators() {
  while (reader_.Ensure(1)) {
    std::u16string_view units = reader_.Available();
    size_t n = PassSeparators(units, 0);
    reader_.Advance(n);
    if (n < units.size()) return;
  }
}

size_t WordFinder::PassSeparators(std::u16string_view units, size_t n) {
  char16_t last = previous_;  // kept in a register, stored once
  for (; n < units.size(); ++n) {
    const char16_t c = units[n];
    const Gap gap = words_.GapOf(c);
    if (gap == Gap::kOther) break;
    if (gap == Gap::kSeparator) last = c;
  }
  previous_ = last;
  return n;
}

template <class Takes>
size_t WordFinder::TakeWhile(std::u16string_view units, size_t n, Takes takes) {
  char16_t last = previous_;  // kept in a register, stored once
  for (; n < units.size(); ++n) {
    char16_t c = units[n];
    uint8_t role = RoleOf(c);
    if (role & kRoleSoftHyphen) continue;
    if (!takes(c, role)) break;
    last = c;
  }
  previous_ = last;
  return n;
}

template <class Takes>
void WordFinder::ConsumeWhile(Takes takes) {
  while (reader_.Ensure(1)) {
    std::u16string_view units = reader_.Available();
    size_t n = TakeWhile(units, 0, takes);
    reader_.Advance(n);
    if (n < units.size()) return;
  }
}

// At the end of the input a joiner separates.
bool WordFinder::JoinerJoins() {
  return (RoleOf(previous_) & kRoleLetter) && reader_.Ensure(2) &&
         (RoleOf(reader_.Peek(1)) & kRoleLetter);
}

uint16_t WordFinder::StepLiteral(const Literal& literal, char16_t c, bool boundary,
                                 bool wordCharacter, bool ideograph) const {
  const LiteralAutomaton& a = literal.table->literal();
  int16_t column = boundary ? -1 : literal.table->LiteralColumnOf(c);
  uint16_t cell = column < 0 ? kDead : a.Cell(literal.state, column);
  if (ideograph) {
    return cell == kDead ? kDead : a.Cell(cell & LiteralAutomaton::kStateMask, 0);
  }
  if (cell != kDead) return cell;
  return wordCharacter ? kDead : a.Cell(literal.state, 0);
}

bool WordFinder::MoveLiteral(Literal& literal, uint16_t state) {
  literal.state = state;
  if (state == kDead || !(state & LiteralAutomaton::kAccept)) return false;
  ids_.push_back(literal.table->LiteralWord(state & LiteralAutomaton::kStateMask));
  return true;
}

void WordFinder::SetMark() {
  if (!hasMark_) {
    reader_.Pin();
    hasMark_ = true;
  }
  mark_ = reader_.position();
  previousAtMark_ = previous_;
}

void WordFinder::ReturnToMark() {
  if (!hasMark_) return;
  reader_.Restore(mark_);
  previous_ = previousAtMark_;
  DropMark();
}

void WordFinder::DropMark() {
  if (hasMark_) reader_.Unpin();
  hasMark_ = false;
}

bool WordFinder::AllDead() const {
  return !literalAccepted_ && literals_[0].state == kDead && literals_[1].state == kDead &&
         !wildcards_[0].alive() && !wildcards_[1].alive();
}

// The commonest case, without the general step's tests: no mark is held, so
// no literal automaton has accepted, and a character column never leads to
// an acceptance (only the end-of-word column does). The automata's states
// are kept in locals: the stores into the word text could otherwise alias
// them and force a reload on every unit. A word that dies in its run is
// passed over, and the separators after it, and the next word's run
// begins, all in this one walk of the buffer.
WordFinder::RunEnd WordFinder::PassWords() {
  std::u16string_view units = reader_.Available();
  const WordTable& foldedTable = *literals_[0].table;
  const WordTable& exactTable = *literals_[1].table;
  const LiteralAutomaton::Rows folded = foldedTable.literal().rows();
  const LiteralAutomaton::Rows exact = exactTable.literal().rows();
  WildcardStepper& foldedWildcard = wildcards_[0];
  WildcardStepper& exactWildcard = wildcards_[1];
  size_t n = 0;
  auto leave = [&](RunEnd end) {
    if (n > 0 && end != RunEnd::kRestarted) wordStarted_ = hasContent_ = true;
    reader_.Advance(n);
    return end;
  };
  for (;;) {
    fresh_ = false;
    uint16_t foldedState = literals_[0].state;
    uint16_t exactState = literals_[1].state;
    // The wildcard sets are held here too, and handed back after the loop.
    int32_t foldedSet = foldedWildcard.current();
    int32_t exactSet = exactWildcard.current();
    size_t length = textLength_;
    bool alive = true;
    bool ended = false;  // by a unit that is no plain word character
    const size_t runStart = n;
    auto stepFolded = [&](char16_t c) {
      int16_t column = foldedTable.LiteralColumnOf(c);
      foldedState = column < 0 ? kDead : folded.Cell(foldedState, column);
    };
    // Automata only die within a run, so once the case-folding literal
    // automaton is the only one left (the commonest case by far) the run
    // goes on in a loop that steps it alone.
    for (; n < units.size(); ++n) {
      const char16_t c = units[n];
      const uint8_t role = RoleOf(c);
      if (!(role & kRoleWord)) {
        ended = true;
        break;
      }
      if (foldedState != kDead) stepFolded(c);
      if (exactState != kDead) {
        int16_t column = exactTable.LiteralColumnOf(c);
        exactState = column < 0 ? kDead : exact.Cell(exactState, column);
      }
      if (WildcardStepper::Alive(foldedSet)) {
        foldedSet = foldedWildcard.NextOnWordCharacter(foldedSet, c, role);
      }
      if (WildcardStepper::Alive(exactSet)) {
        exactSet = exactWildcard.NextOnWordCharacter(exactSet, c, role);
      }
      const bool othersAlive = exactState != kDead || WildcardStepper::Alive(foldedSet) ||
                               WildcardStepper::Alive(exactSet);
      if (!othersAlive && foldedState == kDead) {
        ++n;
        alive = false;
        break;
      }
      if (length < kMaxText) text_[length++] = c;
      if (!othersAlive) {
        ++n;
        break;
      }
    }
    foldedWildcard.Resume(foldedSet);
    exactWildcard.Resume(exactSet);
    for (; alive && !ended && n < units.size(); ++n) {
      char16_t c = units[n];
      if (!(RoleOf(c) & kRoleWord)) break;
      stepFolded(c);
      if (foldedState == kDead) {
        ++n;
        alive = false;
        break;
      }
      if (length < kMaxText) text_[length++] = c;
    }
    literals_[0].state = foldedState;
    literals_[1].state = exactState;
    textLength_ = length;
    if (n > runStart) previous_ = units[n - 1];
    if (alive) {
      // A word ended by a separator that no automaton reads: the end-of-word
      // step accepts it or kills them all, wildcards too, and the scan
      // resumes after the separator either way.
      if (n == units.size()) return leave(RunEnd::kAlive);
      char16_t c = units[n];
      if (!EndsNothing(c)) return leave(RunEnd::kAlive);
      bool accepted = EndWord();  // the literal ids come first
      // No wildcard reads such a separator either: none is left alive.
      if (foldedWildcard.alive() || exactWildcard.alive()) {
        accepted = StepWildcards(c, RoleOf(c), false, false, true) || accepted;
      }
      previous_ = c;
      ++n;
      if (accepted) return leave(RunEnd::kAccepted);
    } else {
      // The rest of the dead word: its plain word characters. A joiner or a
      // soft hyphen is left to the general skip.
      const size_t rest = n;
      n = EndOfWordCharacters(units, n);
      if (n > rest) previous_ = units[n - 1];
      if (n == units.size() || (RoleOf(units[n]) & (kRoleJoiner | kRoleSoftHyphen))) {
        return leave(RunEnd::kDied);
      }
    }
    ++wordIndex_;
    ResetAttempt();
    n = PassSeparators(units, n);
    if (n == units.size() || !(RoleOf(units[n]) & kRoleWord)) return leave(RunEnd::kRestarted);
  }
}

// What PassWords does for such a script, without its tests for the other
// automata and with the attempt's state in locals: the trie step of each
// unit, the end-of-word step at a separator outside the alphabet, and the
// skip over a dead word and the separators after it. A word that meets
// anything else (the end of the buffer, a joiner, a soft hyphen, a
// separator in the alphabet) is handed over from its first unit, whose
// attempt is still fresh.
WordFinder::RunEnd WordFinder::PassFoldedWords() {
  const bool blocks = trial_.pays && !literals_[0].table->asciiWords().empty();
  return blocks ? PassFoldedWordsWith<true>() : PassFoldedWordsWith<false>();
}

template <bool kBlocks>
WordFinder::RunEnd WordFinder::PassFoldedWordsWith() {
  const WordTable& table = *literals_[0].table;
  // Absent words are passed a block at a time, so the buffer is kept ahead
  // by several blocks; what the stream holds is read either way.
  if (kBlocks) reader_.Ensure(kReadAhead);
  std::u16string_view units = reader_.Available();
  const LiteralAutomaton::Rows rows = table.literal().rows();
  HeldBlock held;       // classified units, kept while the walk stays in them
  uint32_t passed = 0;  // words passed over
  size_t n = 0;
  auto leave = [&](size_t at, RunEnd end) {
    reader_.Advance(at);
    wordIndex_ += passed;
    return end;
  };
  // A word cut by the end of the buffer is taken again from its start once
  // the buffer holds more than it; false when the text ends first.
  auto refill = [&](size_t start) {
    const size_t kept = units.size() - start;
    leave(start, RunEnd::kHandedOver);
    passed = 0;
    if (kBlocks) reader_.Ensure(kept + kReadAhead);
    if (kept > kMaxText || !reader_.Ensure(kept + 1)) return false;
    units = reader_.Available();
    held.start = HeldBlock::kNone;
    n = 0;
    return true;
  };
  for (;;) {
    if constexpr (kBlocks) n = PassAbsentAsciiWords(units, n, passed, held);
    const size_t start = n;  // a plain word character
    uint16_t state = 0;
    int16_t step = 0;
    for (; n < units.size(); ++n) {
      step = table.RunStepOf(units[n]);
      if (step < 0) break;
      state = rows.Cell(state, step);
      if (state == kDead) break;
    }
    // A word that died is passed to its end, which the buffer must hold too.
    const bool alive = n < units.size() && step == WordTable::kEndsRun;
    if (!alive && n < units.size()) n = EndOfWordCharacters(units, n);
    if (n == units.size()) {
      if (refill(start)) continue;
      return RunEnd::kHandedOver;
    }
    if (alive) {
      const char16_t c = units[n];
      if (!EndsNothing(c)) return leave(start, RunEnd::kHandedOver);
      // The attempt stays fresh (the automaton at its start) until a word
      // is accepted.
      const uint16_t end = rows.Cell(state, 0);
      if (end != kDead && (end & LiteralAutomaton::kAccept)) {
        MoveLiteral(literals_[0], end);
        textLength_ = literalEnd_ = std::min(n - start, kMaxText);
        std::copy_n(units.data() + start, textLength_, text_);
        separatorSeen_ = literalAccepted_ = true;
        fresh_ = false;
        previous_ = c;
        return leave(n + 1, RunEnd::kAccepted);
      }
      ++n;
    } else if (RoleOf(units[n]) & (kRoleJoiner | kRoleSoftHyphen)) {
      return leave(start, RunEnd::kHandedOver);
    }
    ++passed;
    previous_ = units[n - 1];
    n = PassSeparators(units, n);
    if (n == units.size() || !(RoleOf(units[n]) & kRoleWord)) return leave(n, RunEnd::kRestarted);
  }
}

// A word passed here is one the walk would pass too: all ASCII word
// characters, at most the filter's length, ended by a separator outside the
// alphabet, and absent from the filter, so that the trie cannot accept it.
size_t WordFinder::PassAbsentAsciiWords(std::u16string_view units, size_t n, uint32_t& passed,
                                        HeldBlock& held) {
  const AsciiWordFilter& filter = literals_[0].table->asciiWords();
  while (trial_.pays) {
    if (held.start > n || n - held.start >= kAsciiBlockUnits) {
      // A key reads 16 units from a word's start, which lies inside the block.
      if (units.size() - n < kAsciiBlockUnits + 16) return n;
      if (trial_.blocks < BlockTrial::kTrialBlocks && ++trial_.blocks == BlockTrial::kTrialBlocks) {
        trial_.pays = trial_.words >= BlockTrial::kWordsABlockPays * BlockTrial::kTrialBlocks;
      }
      held = {n, ClassifyAsciiBlock(units.data() + n, words_.asciiSeparatorsRead)};
    }
    const AsciiBlock& block = held.block;
    const size_t from = n - held.start;
    size_t s = from;          // the word start reached, in the block
    bool blockEnded = false;  // the next word or its separators run past the block
    for (;;) {
      const size_t length = static_cast<size_t>(std::countr_zero(~block.words >> s));
      if (length == 0 || length > AsciiWordFilter::kMaxUnits) break;
      const size_t end = s + length;
      blockEnded = end >= kAsciiBlockUnits;
      if (blockEnded) break;
      const size_t next = end + static_cast<size_t>(std::countr_zero(~block.separators >> end));
      blockEnded = next >= kAsciiBlockUnits;
      if (blockEnded || next == end || !(block.words >> next & 1)) break;
      if (filter.MayHold(AsciiKey(units.data() + held.start + s, length))) break;
      ++passed;
      ++trial_.words;
      s = next;
    }
    if (s > from) {
      n = held.start + s;
      previous_ = units[n - 1];
    }
    // A word the block cannot show whole is looked at again from its start,
    // unless the block began there.
    if (!blockEnded || held.start == n) return n;
    held.start = HeldBlock::kNone;
  }
  return n;
}

// Both literal automata take the end-of-word step on which either accepts.
bool WordFinder::EndWord() {
  bool accepted = false;
  for (Literal& l : literals_) {
    if (l.state != kDead && MoveLiteral(l, l.table->literal().Cell(l.state, 0))) accepted = true;
  }
  if (accepted) {
    separatorSeen_ = literalAccepted_ = true;
    literalEnd_ = textLength_;
  }
  return accepted;
}

bool WordFinder::StepWildcards(char16_t c, uint8_t role, bool boundary, bool wordCharacter,
                               bool mayEndWord) {
  bool accepted = false;
  for (WildcardStepper& w : wildcards_) {
    if (w.alive() && w.Step(c, boundary, wordCharacter, mayEndWord, role & kRoleDigit,
                            role & kRoleLetter, ids_)) {
      accepted = true;
    }
  }
  wildcardAccepted_ = wildcardAccepted_ || accepted;
  return accepted;
}

// Drops what is left of an unmatched word, up to the next separator or
// ideograph, walking the reader's buffer a run at a time. A joiner needs the
// unit after it, so the walk stops there to ask.
void WordFinder::SkipRestOfWord() {
  for (;;) {
    ConsumeWhile([](char16_t, uint8_t role) { return (role & kRoleWord) != 0; });
    if (!reader_.Ensure(1) || !(RoleOf(reader_.Peek()) & kRoleJoiner) || !JoinerJoins()) return;
    previous_ = reader_.Peek();
    reader_.Advance();
  }
}

WordKind WordFinder::Next() {
  ++wordIndex_;
  Restart();
  for (;;) {
    if (runs_ && !hasMark_ && reader_.Ensure(1) && (RoleOf(reader_.Peek()) & kRoleWord)) {
      RunEnd end = foldedOnly_ && fresh_ ? PassFoldedWords() : RunEnd::kHandedOver;
      if (end == RunEnd::kHandedOver) end = PassWords();
      if (end == RunEnd::kAccepted) break;
      if (end == RunEnd::kDied) {
        SkipRestOfWord();
        ++wordIndex_;
        Restart();
      }
      continue;
    }
    bool atEnd = !reader_.Ensure(1);
    char16_t c = atEnd ? 0 : reader_.Peek();
    uint8_t role = atEnd ? 0 : RoleOf(c);
    if (role & kRoleSoftHyphen) {  // counted, never stored or matched
      reader_.Advance();
      continue;
    }
    fresh_ = false;
    // The end of the input, and an ideograph after a word in progress, end
    // the word without being consumed.
    bool boundary = atEnd || (hasContent_ && (role & kRoleIdeograph));
    if (boundary) c = 0, role = 0;
    bool ideograph = role & kRoleIdeograph;
    bool wordCharacter = (role & kRoleWord) || ((role & kRoleJoiner) && JoinerJoins());
    if (!boundary) {
      reader_.Advance();
      previous_ = c;
    }
    if (wordCharacter) {
      wordStarted_ = hasContent_ = true;
    } else if (ideograph) {
      hasContent_ = true;
      AppendText(c);
    } else if (wordStarted_ && !separatorSeen_) {
      separatorSeen_ = true;
      SetMark();
    }
    if (hasMark_ && reader_.consumed() - mark_.consumed > kMaxMarkedSpan) {
      for (WildcardStepper& w : wildcards_) w.Clear();
    }

    // Both literal automata take the step on which either accepts; only
    // later steps are skipped.
    if (!literalAccepted_) {
      bool accepted = false;
      for (Literal& l : literals_) {
        if (l.state != kDead &&
            MoveLiteral(l, StepLiteral(l, c, boundary, wordCharacter, ideograph))) {
          accepted = true;
        }
      }
      if (accepted) {
        literalAccepted_ = true;
        literalEnd_ = textLength_;
        SetMark();
      }
    }
    const bool wildcardAccepted = StepWildcards(c, role, boundary, wordCharacter, hasContent_);

    if (AllDead()) {
      if (atEnd && !hasMark_) {
        textLength_ = 0;
        ids_.clear();
        return WordKind::kEndOfInput;
      }
      if (hasMark_) {
        ReturnToMark();
      } else if (wordCharacter) {
        SkipRestOfWord();
      }
      if (wordStarted_ || ideograph) ++wordIndex_;
      Restart();
      continue;
    }
    bool wildcardsAlive = wildcards_[0].alive() || wildcards_[1].alive();
    if (!wordCharacter && wildcardAccepted) break;
    if (!wildcardsAlive && literalAccepted_) {
      ReturnToMark();
      break;
    }
    if (!boundary && !ideograph) AppendText(c);
  }
  if (!wildcardAccepted_) textLength_ = literalEnd_;
  DropMark();
  return IsNumberText(text()) ? WordKind::kNumberWord : WordKind::kWord;
}

}  // namespace Nimbra::Lexora
