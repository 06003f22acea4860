// Steps one wildcard automaton over a word. The automaton is
// nondeterministic; the stepper determinises it lazily: each distinct set of
// states reached (kept in the order reached, so that acceptances keep their
// order) is interned once, and each of its transitions is computed on first
// use and then read from the set's row.
//
// Trade-off: a row per set reached costs (columns + 1) x 16 cells, paid only
// for sets the text actually reaches; the cache is flushed when it passes a
// fixed size, so memory stays bounded whatever the patterns and the text, at
// the price of recomputing transitions after a flush.
#ifndef LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H
#define LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/compiler/word_table.h"

namespace Nimbra::Lexora {

class WildcardStepper {
 public:
  explicit WildcardStepper(const WordTable& table);

  void Start() { current_ = inUse_ ? kStartSet : kDeadSet; }
  void Clear() { current_ = kDeadSet; }
  bool alive() const { return current_ != kDeadSet; }

  // Steps one code unit (a boundary, such as the end of the input, has no
  // character of its own). A separator or boundary may end the word only
  // when the word has content; then every final state reached is an
  // acceptance and its word id is appended to `ids`. Returns whether any
  // state accepted.
  bool Step(char16_t unit, bool boundary, bool wordCharacter, bool mayEndWord, bool digit,
            bool letter, std::vector<uint32_t>& ids) {
    int16_t column = boundary ? -1 : automaton_.ColumnOf(table_.Fold(unit));
    size_t input = static_cast<size_t>(column + 1) * kFlagCombinations + wordCharacter +
                   (mayEndWord << 1) + (digit << 2) + (letter << 3);
    int32_t next = rows_[sets_[current_].row + input];
    if (next == kUnknown) next = Compute(input, column, wordCharacter, mayEndWord, digit, letter);
    current_ = next;
    if (next == kDeadSet || wordCharacter || !mayEndWord) return false;
    const std::vector<uint32_t>& finals = sets_[next].finalWords;
    ids.insert(ids.end(), finals.begin(), finals.end());
    return !finals.empty();
  }

 private:
  static constexpr int32_t kStartSet = 0;
  static constexpr int32_t kDeadSet = -1;
  static constexpr int32_t kUnknown = -2;
  static constexpr size_t kFlagCombinations = 16;
  static constexpr size_t kCacheCells = size_t{1} << 20;

  struct StateSet {
    std::u16string states;             // automaton states, in the order reached
    std::vector<uint32_t> finalWords;  // word ids of its final states, in order
    size_t row;                        // its transitions: offset into rows_
  };

  int32_t Compute(size_t input, int16_t column, bool wordCharacter, bool mayEndWord, bool digit,
                  bool letter);
  int32_t Intern(const std::u16string& states);
  void Flush();
  void Add(uint16_t state) {
    if (state != WildcardAutomaton::kNone && stamps_[state] != generation_) {
      stamps_[state] = generation_;
      next_.push_back(static_cast<char16_t>(state));
    }
  }

  const WordTable& table_;
  const WildcardAutomaton& automaton_;
  bool inUse_;
  size_t rowWidth_;
  size_t cacheLimit_;
  int32_t current_ = kDeadSet;
  std::vector<StateSet> sets_;
  std::unordered_map<std::u16string, int32_t> index_;
  std::vector<int32_t> rows_;
  std::u16string next_;
  std::vector<uint32_t> stamps_;
  uint32_t generation_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H
