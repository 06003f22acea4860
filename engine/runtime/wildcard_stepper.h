// Steps one wildcard automaton over a word as a set of states, kept free of
// duplicates with a generation stamp per state instead of a search.
#ifndef LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H
#define LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H

#include <cstdint>
#include <vector>

#include "engine/compiler/word_table.h"

namespace Nimbra::Lexora {

class WildcardStepper {
 public:
  explicit WildcardStepper(const WordTable& table);

  void Start();
  void Clear() { states_.clear(); }
  bool alive() const { return !states_.empty(); }

  // Steps one code unit (a boundary, such as the end of the input, has no
  // character of its own). A separator or boundary may end the word only
  // when the word has content; then every final state reached is an
  // acceptance and its word id is appended to `ids`. Returns whether any
  // state accepted.
  bool Step(char16_t unit, bool boundary, bool wordCharacter, bool mayEndWord, bool digit,
            bool letter, std::vector<uint32_t>& ids);

 private:
  void Add(uint16_t state) {
    if (state != WildcardAutomaton::kNone && stamps_[state] != generation_) {
      stamps_[state] = generation_;
      next_.push_back(state);
    }
  }

  const WordTable& table_;
  const WildcardAutomaton& automaton_;
  bool inUse_;
  std::vector<uint16_t> states_;
  std::vector<uint16_t> next_;
  std::vector<uint32_t> stamps_;
  uint32_t generation_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_WILDCARD_STEPPER_H
