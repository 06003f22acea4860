// Steps one wildcard automaton over a word. The automaton is
// nondeterministic; the stepper determinises it lazily: each distinct set of
// states reached (kept in the order reached, so that acceptances keep their
// order) is interned once, and each of its transitions is computed on first
// use and then read from the set's row.
//
// An input is a column with the unit's four flags; the inputs the text
// actually shows get small class numbers on first sight, so that a set's row
// has one cell per class seen (at most kMaxClasses) instead of one per
// possible input, and the rows in use stay in the first-level cache.
//
// Trade-off: rows cost memory only for sets and classes the text reaches;
// the cache is flushed when it passes a fixed size or runs out of classes,
// so memory stays bounded whatever the patterns and the text, at the price
// of recomputing transitions after a flush.
#ifndef LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H
#define LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/base/unit_roles.h"
#include "engine/compiler/word_table.h"

namespace Nimbra::Lexora {

class WildcardStepper {
 public:
  explicit WildcardStepper(const WordTable& table);

  void Start() { current_ = inUse_ ? kStartSet : kDeadSet; }
  void Clear() { current_ = kDeadSet; }
  bool alive() const { return current_ != kDeadSet; }
  bool inUse() const { return inUse_; }

  // Steps one code unit (a boundary, such as the end of the input, has no
  // character of its own). A separator or boundary may end the word only
  // when the word has content; then every final state reached is an
  // acceptance and its word id is appended to `ids`. Returns whether any
  // state accepted.
  bool Step(char16_t unit, bool boundary, bool wordCharacter, bool mayEndWord, bool digit,
            bool letter, std::vector<uint32_t>& ids) {
    int16_t column = boundary ? -1 : automaton_.ColumnOf(table_.Fold(unit));
    int32_t next = MoveOn(ClassOf(column, wordCharacter, mayEndWord, digit, letter), column,
                          wordCharacter, mayEndWord, digit, letter);
    if (next == kDeadSet || wordCharacter || !mayEndWord) return false;
    const std::vector<uint32_t>& finals = sets_[next].finalWords;
    ids.insert(ids.end(), finals.begin(), finals.end());
    return !finals.empty();
  }
  // Steps a word character (of that role) inside a word, which cannot end
  // the word, so that nothing accepts, for a scan loop that holds the
  // current set in a register: the set reached from `set`, which the loop
  // hands back with Resume before any other call. A unit below U+0100 finds
  // its class in one read.
  int32_t NextOnWordCharacter(int32_t set, char16_t unit, uint8_t role) {
    if (unit < kLatinUnits && latinWordClass_[unit] != kNoClass) {
      int32_t next = rows_[RowOf(set) + latinWordClass_[unit]];
      if (next != kUnknown) return next;
    }
    current_ = set;
    ComputeWordCharacter(unit, role);  // may flush and renumber the sets
    return current_;
  }
  int32_t current() const { return current_; }
  void Resume(int32_t set) { current_ = set; }
  static bool Alive(int32_t set) { return set != kDeadSet; }

 private:
  static constexpr int32_t kStartSet = 0;
  static constexpr int32_t kDeadSet = -1;
  static constexpr int32_t kUnknown = -2;
  static constexpr size_t kFlagCombinations = 16;
  static constexpr size_t kMaxClasses = 128;
  static constexpr uint8_t kNoClass = 0xFF;
  static_assert(kMaxClasses < kNoClass);
  static constexpr size_t kCacheCells = size_t{1} << 20;
  static constexpr char16_t kLatinUnits = 0x100;

  struct StateSet {
    std::u16string states;             // automaton states, in the order reached
    std::vector<uint32_t> finalWords;  // word ids of its final states, in order
  };

  // Set n's transitions, by class, start at rows_[n * kMaxClasses].
  static size_t RowOf(int32_t set) { return static_cast<size_t>(set) * kMaxClasses; }
  // The class of an input: a column with the unit's four flags.
  uint8_t ClassOf(int16_t column, bool wordCharacter, bool mayEndWord, bool digit, bool letter) {
    size_t input = static_cast<size_t>(column + 1) * kFlagCombinations + wordCharacter +
                   (mayEndWord << 1) + (digit << 2) + (letter << 3);
    uint8_t inputClass = classOf_[input];
    return inputClass != kNoClass ? inputClass : NewClass(input);  // may flush
  }
  // Moves to the set reached on an input of that class; returns it.
  int32_t MoveOn(uint8_t inputClass, int16_t column, bool wordCharacter, bool mayEndWord,
                 bool digit, bool letter) {
    int32_t next = rows_[RowOf(current_) + inputClass];
    if (next == kUnknown) {
      next = Compute(inputClass, column, wordCharacter, mayEndWord, digit, letter);
    }
    current_ = next;
    return next;
  }
  // Moves the current set on a word character whose transition is not
  // known yet, learning it.
  void ComputeWordCharacter(char16_t unit, uint8_t role);
  uint8_t NewClass(size_t input);
  int32_t Compute(uint8_t inputClass, int16_t column, bool wordCharacter, bool mayEndWord,
                  bool digit, bool letter);
  int32_t Intern(const std::u16string& states);
  // Forgets every set but the start set and the set being stepped from; the
  // classes stay.
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
  std::vector<uint8_t> classOf_;  // per input: its class, or kNoClass
  // The class of each unit below U+0100 as a word character inside a word,
  // or kNoClass; forgotten with the classes.
  std::array<uint8_t, kLatinUnits> latinWordClass_;
  size_t classCount_ = 0;
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
