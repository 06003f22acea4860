#include "engine/runtime/word_finder.h"

#include "engine/input/char_props.h"

namespace Nimbra::Lexora {
namespace {

constexpr char16_t kSoftHyphen = 0x00AD;

bool IsJoiningHyphen(char16_t c) {
  return c == 0x1806 || c == 0x058A || c == 0x1400 || c == 0x2010 || c == 0x2011;
}

bool IsJoiner(char16_t c) {
  return c == 0x0027 || c == 0x002D || c == 0x02BC || c == 0x055A || c == 0x2019 || c == 0xFF07;
}

bool IsDash(char16_t c) {
  return c == 0x2012 || c == 0x2013 || c == 0x2014 || c == 0x2212;
}

// Only digits make a number word; an escaping backslash is passed over.
bool IsNumberText(const std::u16string& text) {
  bool any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) ++i;
    if (!IsDigitUnit(text[i])) return false;
    any = true;
  }
  return any;
}

}  // namespace

WordFinder::WordFinder(const WordData& words, NormalizingReader& reader)
    : words_(words),
      reader_(reader),
      literals_{{&words.folded, words.folded.literalInUse(), kDead},
                {&words.exact, words.exact.literalInUse(), kDead}},
      wildcards_{WildcardStepper(words.folded), WildcardStepper(words.exact)} {
  ids_.reserve(16);
  text_.reserve(kMaxText + 1);
}

void WordFinder::Restart() {
  for (Literal& l : literals_) l.state = l.inUse ? 0 : kDead;
  for (WildcardStepper& w : wildcards_) w.Start();
  wordStarted_ = hasContent_ = separatorSeen_ = false;
  literalAccepted_ = wildcardAccepted_ = false;
  literalEnd_ = 0;
  ids_.clear();
  text_.clear();
}

// A joiner joins only between two alphabetic characters; at the end of the
// input it separates.
bool WordFinder::IsWordCharacter(char16_t c) {
  if (IsJoiningHyphen(c)) return true;
  if (IsJoiner(c)) {
    return IsAlphaUnit(previous_) && reader_.Ensure(2) && IsAlphaUnit(reader_.Peek(1));
  }
  if (IsDash(c)) return false;
  return PropsOf(c).other == 0;
}

uint16_t WordFinder::StepLiteral(const Literal& literal, char16_t c, bool boundary,
                                 bool wordCharacter, bool ideograph) const {
  const LiteralAutomaton& a = literal.table->literal();
  int16_t column = boundary ? -1 : a.ColumnOf(literal.table->Fold(c));
  uint16_t cell = column < 0 ? kDead : a.Cell(literal.state, column);
  if (ideograph) {
    return cell == kDead ? kDead : a.Cell(cell & LiteralAutomaton::kStateMask, 0);
  }
  if (cell != kDead) return cell;
  return wordCharacter ? kDead : a.Cell(literal.state, 0);
}

void WordFinder::SetMark() {
  if (!hasMark_) {
    if (reader_.readIndex() > 63) reader_.DiscardConsumed();
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

// Drops what is left of an unmatched word, up to the next separator or
// ideograph.
void WordFinder::SkipRestOfWord() {
  while (reader_.Ensure(1)) {
    char16_t c = reader_.Peek();
    if (c != kSoftHyphen) {
      if (IsIdeographUnit(c) || !IsWordCharacter(c)) return;
      previous_ = c;
    }
    reader_.Advance();
  }
}

WordFinder::Result WordFinder::Next() {
  ++wordIndex_;
  Restart();
  for (;;) {
    bool atEnd = !reader_.Ensure(1);
    char16_t c = atEnd ? 0 : reader_.Peek();
    if (!atEnd && c == kSoftHyphen) {  // counted, never stored or matched
      reader_.Advance();
      continue;
    }
    // The end of the input, and an ideograph after a word in progress, end
    // the word without being consumed.
    bool boundary = atEnd || (hasContent_ && IsIdeographUnit(c));
    if (boundary) c = 0;
    bool ideograph = !boundary && IsIdeographUnit(c);
    bool wordCharacter = !boundary && !ideograph && IsWordCharacter(c);
    if (!boundary) {
      reader_.Advance();
      previous_ = c;
    }
    if (wordCharacter) {
      wordStarted_ = hasContent_ = true;
    } else if (ideograph) {
      hasContent_ = true;
      text_ += c;
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
        if (l.state == kDead) continue;
        l.state = StepLiteral(l, c, boundary, wordCharacter, ideograph);
        if (l.state != kDead && (l.state & LiteralAutomaton::kAccept)) {
          ids_.push_back(l.table->LiteralWord(l.state & LiteralAutomaton::kStateMask));
          accepted = true;
        }
      }
      if (accepted) {
        literalAccepted_ = true;
        literalEnd_ = text_.size();
        SetMark();
      }
    }
    bool wildcardAccepted = false;
    bool digit = !boundary && IsDigitUnit(c);
    bool letter = !boundary && IsAlphaUnit(c);
    for (WildcardStepper& w : wildcards_) {
      if (w.alive() && w.Step(c, boundary, wordCharacter, hasContent_, digit, letter, ids_)) {
        wildcardAccepted = true;
      }
    }
    wildcardAccepted_ = wildcardAccepted_ || wildcardAccepted;

    if (AllDead()) {
      if (atEnd && !hasMark_) {
        text_.clear();
        ids_.clear();
        return kEndOfInput;
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
    if (!boundary && !ideograph && text_.size() < kMaxText) text_ += c;
  }
  if (!wildcardAccepted_) text_.resize(literalEnd_);
  DropMark();
  return IsNumberText(text_) ? kNumberWord : kWord;
}

}  // namespace Nimbra::Lexora
