// The input word finder: cuts normalised text into words and runs each
// word through the four word automata of a script at once (literal and
// wildcard, case-folding and exact). Word boundaries are not decided
// beforehand: a pattern holding a separator (at&t) matches across it.
#ifndef LEXORA_ENGINE_RUNTIME_WORD_FINDER_H
#define LEXORA_ENGINE_RUNTIME_WORD_FINDER_H

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/compiler/word_data.h"
#include "engine/input/normalizing_reader.h"
#include "engine/runtime/wildcard_stepper.h"

namespace Nimbra::Lexora {

class WordFinder {
 public:
  enum Result : int { kEndOfInput = 1, kWord = 2, kNumberWord = 3 };
  // Accepted text is kept up to this many code units; longer words still match.
  static constexpr size_t kMaxText = 1022;
  // A failed attempt returns to its mark; an attempt that runs this far past
  // its mark is given up, so that the text held for it stays bounded.
  static constexpr uint64_t kMaxMarkedSpan = 1 << 16;

  WordFinder(const WordData& words, NormalizingReader& reader);

  // The next accepted word: its ids, text and word index.
  Result Next();
  uint32_t wordIndex() const { return wordIndex_; }
  std::span<const uint32_t> ids() const { return ids_; }
  const std::u16string& text() const { return text_; }

 private:
  static constexpr uint16_t kDead = 0xFFFF;

  struct Literal {
    const WordTable* table;
    bool inUse;
    uint16_t state;
  };

  void Restart();
  bool IsWordCharacter(char16_t c);
  // Steps a literal automaton; an ideograph standing as a word takes its
  // column and the end of the word in one step.
  uint16_t StepLiteral(const Literal& literal, char16_t c, bool boundary, bool wordCharacter,
                       bool ideograph) const;
  void SkipRestOfWord();
  void SetMark();
  void ReturnToMark();
  void DropMark();
  bool AllDead() const;

  const WordData& words_;
  NormalizingReader& reader_;
  uint32_t wordIndex_ = 0;
  std::vector<uint32_t> ids_;
  std::u16string text_;
  Literal literals_[2];
  WildcardStepper wildcards_[2];

  // The current attempt.
  bool wordStarted_ = false;    // a word character was read
  bool hasContent_ = false;     // a word character or an ideograph word
  bool separatorSeen_ = false;  // the first separator after the word start
  bool literalAccepted_ = false;
  bool wildcardAccepted_ = false;
  size_t literalEnd_ = 0;
  char16_t previous_ = 0;

  bool hasMark_ = false;
  NormalizingReader::Position mark_{};
  char16_t previousAtMark_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_WORD_FINDER_H
