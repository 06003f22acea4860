// The sequence finder: records each word's matches, advances the phrases in
// progress through the sequence automaton, and drives the card-number and
// social-security-number run detectors, whose runs can complete phrases
// too.
#ifndef LEXORA_ENGINE_RUNTIME_SEQUENCE_FINDER_H
#define LEXORA_ENGINE_RUNTIME_SEQUENCE_FINDER_H

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/compiler/word_data.h"
#include "engine/runtime/run_detectors.h"
#include "engine/runtime/word_kind.h"
#include "engine/runtime/word_position_list.h"

namespace Nimbra::Lexora {

class SequenceFinder {
 public:
  SequenceFinder(const WordData& words, WordPositionList& positions);

  // One word returned by the word finder, in text order.
  void Word(uint32_t index, WordKind kind, std::span<const uint32_t> ids, std::u16string_view text);

 private:
  struct Pair {
    uint32_t start;
    uint16_t state;
    bool operator==(const Pair&) const = default;
  };
  struct Hit {
    uint16_t state;
    uint32_t start;
    uint32_t end;
    uint32_t id;
  };
  // Phrases waiting, at the word where a run may begin, for a detector.
  struct Parked {
    uint32_t index;
    std::vector<Pair> pairs;
  };
  struct Detector {
    RunDetector detector;
    std::vector<Parked> parked;  // in word-index order
    // Some phrase has the class as an element: without one nothing parks,
    // and the parking steps are passed over.
    bool mayPark = false;
  };

  // Whether a phrase has the word id as an element.
  bool PhrasesHold(uint32_t id) const;
  static void AddUnique(std::vector<Pair>& pairs, Pair pair);
  bool Continues(const Pair& pair, uint32_t index) const;
  int32_t ColumnOfId(uint32_t id) const;
  void CheckState(uint16_t state) const;
  void Transition(const Pair& pair, int32_t column, uint32_t index);
  // The run detectors' part of a word: its offer, their runs and the
  // phrases parked for them.
  void OfferToDetectors(uint32_t index, WordKind kind, std::u16string_view text);
  void Park(Detector& d, uint32_t index);
  void ResumeParked(Detector& d, Span run);

  const SequenceTable& table_;
  WordPositionList& positions_;
  std::vector<Pair> active_;
  std::vector<Pair> next_;
  std::vector<Hit> hits_;
  uint32_t previous_ = 0;
  std::vector<Detector> detectors_;
  std::vector<Span> runs_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_SEQUENCE_FINDER_H
