// The input word finder: cuts normalised text into words and runs each
// word through the four word automata of a script at once (literal and
// wildcard, case-folding and exact). Word boundaries are not decided
// beforehand: a pattern holding a separator (at&t) matches across it.
#ifndef LEXORA_ENGINE_RUNTIME_WORD_FINDER_H
#define LEXORA_ENGINE_RUNTIME_WORD_FINDER_H

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/base/unit_roles.h"
#include "engine/compiler/word_data.h"
#include "engine/input/normalizing_reader.h"
#include "engine/runtime/ascii_block.h"
#include "engine/runtime/wildcard_stepper.h"
#include "engine/runtime/word_kind.h"

namespace Nimbra::Lexora {

class WordFinder {
 public:
  // Accepted text is kept up to this many code units; longer words still match.
  static constexpr size_t kMaxText = 1022;
  // A failed attempt returns to its mark; an attempt that runs this far past
  // its mark is given up, so that the text held for it stays bounded.
  static constexpr uint64_t kMaxMarkedSpan = 1 << 16;

  // How words are walked. All find the same words, ids, indexes and texts;
  // stepping unit by unit is the reference the tests hold the others to.
  enum class Method {
    kFast,     // a script of case-folded literal words only takes a tight loop
    kGeneral,  // every script takes the general walk over runs of word characters
    kPerUnit,  // every unit takes the step that also serves joiners, marks and ends
  };

  // Whether passing absent words by blocks pays for a script over the texts
  // seen: it pays where most words are absent. Once kTrialBlocks blocks
  // have passed fewer than kWordsABlockPays words each, no more are made.
  struct BlockTrial {
    static constexpr uint32_t kTrialBlocks = 256;
    static constexpr uint32_t kWordsABlockPays = 4;
    uint32_t blocks = 0;
    uint32_t words = 0;
    bool pays = true;
  };

  // The wildcard steppers (folded table, exact table) keep what they learn
  // about the automata, and the trial what blocks yield; both may outlive
  // the finder and serve later scans.
  WordFinder(const WordData& words, NormalizingReader& reader,
             std::array<WildcardStepper, 2>& wildcards, BlockTrial& trial,
             Method method = Method::kFast);

  // The next accepted word: its ids, text and word index.
  WordKind Next();
  uint32_t wordIndex() const { return wordIndex_; }
  std::span<const uint32_t> ids() const { return ids_; }
  std::u16string_view text() const { return {text_, textLength_}; }

 private:
  static constexpr uint16_t kDead = 0xFFFF;
  // Units the walk over absent ASCII words likes to have buffered.
  static constexpr size_t kReadAhead = 512;

  struct Literal {
    const WordTable* table;
    bool inUse;
    uint16_t state;
  };

  // Starts a new attempt at the read position, passing over the separators
  // that cannot begin a word.
  void Restart();
  void ResetAttempt();
  // At the start of an attempt a separator outside both alphabets kills
  // every automaton at once (no word is empty), so a run of them is passed
  // over without stepping.
  void SkipSeparators();
  bool EndsNothing(char16_t c) const { return words_.GapOf(c) == Gap::kSeparator; }
  // Passes the separators that end nothing from `n`, and soft hyphens
  // without offering them; `previous_` follows the others. Returns where it
  // stopped.
  size_t PassSeparators(std::u16string_view units, size_t n);
  // Whether a joiner at the read position joins: it must stand between two
  // letters.
  bool JoinerJoins();
  void AppendText(char16_t c) {
    if (textLength_ < kMaxText) text_[textLength_++] = c;
  }
  // Steps a literal automaton; an ideograph standing as a word takes its
  // column and the end of the word in one step.
  uint16_t StepLiteral(const Literal& literal, char16_t c, bool boundary, bool wordCharacter,
                       bool ideograph) const;
  // Moves a literal automaton to `state`; when the state accepts, its
  // word id joins the ids and true is returned.
  bool MoveLiteral(Literal& literal, uint16_t state);
  enum class RunEnd {
    kAlive,       // an automaton lives at the end of the run
    kDied,        // every automaton died; the rest of the word is to be skipped
    kRestarted,   // words died and were passed over; a new attempt has begun
    kAccepted,    // a word ended and literal automata accepted it
    kHandedOver,  // a fresh attempt begins at a word the general walk must take
  };
  // The end-of-word step of the literal automata at a separator outside
  // their alphabets; whether either accepted.
  bool EndWord();
  // Steps the wildcard automata still alive over a unit of that role;
  // whether any accepted (noted for the attempt as well).
  bool StepWildcards(char16_t c, uint8_t role, bool boundary, bool wordCharacter, bool mayEndWord);
  // Steps over the runs of plain word characters that follow in the
  // buffer, and over the dead words and the separators between them, until
  // a unit needs the general step. Only called while no mark is held.
  RunEnd PassWords();
  // The same for a script whose only automaton is the case-folding literal
  // one, at a fresh attempt: words it cannot decide alone are handed over.
  RunEnd PassFoldedWords();
  // The walk itself, with or without the pass over absent words.
  template <bool kBlocks>
  RunEnd PassFoldedWordsWith();
  // The classified block a walk holds, from `start` in its units.
  struct HeldBlock {
    static constexpr size_t kNone = SIZE_MAX;
    size_t start = kNone;
    AsciiBlock block;
  };
  // Passes, from the word start `n`, whole ASCII words that no literal word
  // can be, each with the separators after it, while they lie in blocks of
  // plain ASCII: bits find where each word and its separators end, so the
  // end of a word costs no branch. Returns the word start it stopped at.
  size_t PassAbsentAsciiWords(std::u16string_view units, size_t n, uint32_t& passed,
                              HeldBlock& held);
  void SkipRestOfWord();
  // Passes over units of `units` from `n` while `takes(unit, role)` holds;
  // soft hyphens are passed without being offered, and `previous_` follows
  // the units taken. Returns where it stopped.
  template <class Takes>
  size_t TakeWhile(std::u16string_view units, size_t n, Takes takes);
  // The same over the reader, refilling as needed; consumes what it takes.
  template <class Takes>
  void ConsumeWhile(Takes takes);
  void SetMark();
  void ReturnToMark();
  void DropMark();
  bool AllDead() const;

  const WordData& words_;
  NormalizingReader& reader_;
  uint32_t wordIndex_ = 0;
  std::vector<uint32_t> ids_;
  char16_t text_[kMaxText];
  size_t textLength_ = 0;
  Literal literals_[2];
  std::array<WildcardStepper, 2>& wildcards_;
  const bool foldedOnly_;  // PassFoldedWords serves this script
  BlockTrial& trial_;
  const bool runs_;  // PassWords walks runs of word characters

  // The current attempt.
  bool fresh_ = false;          // nothing stepped yet
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
