// On 7-bit text the single-byte members read every byte alike whenever
// their maps agree below 0x80, so one pass over the union of their tables
// bounds the hits of all of them at once. When even that bound leaves each
// member behind a rival candidate, none of them needs scoring.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_SEVEN_BIT_RIVALS_H
#define LEXORA_ENGINE_INPUT_CHARSET_SEVEN_BIT_RIVALS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/input/charset/candidate_list.h"
#include "engine/input/charset/sample_facts.h"

namespace Nimbra::Lexora {

class SevenBitRivals {
 public:
  // The single-byte members whose names differ from `ownName`: those that
  // name the same encoding cannot change the result by outranking it.
  explicit SevenBitRivals(const char* ownName);

  // True when every such member's candidate certainly comes after
  // `candidate` on this sample. The sample must have no byte of 0x80 or
  // above and no zero byte; false whenever that is not shown.
  bool AllBehind(const SampleFacts& sample, const CharsetCandidate& candidate) const;

  struct WindowCounts {
    uint32_t hits = 0;  // windows some table of the group knows
    uint32_t trigrams = 0;
  };
  struct GroupCounts {
    WindowCounts windows;
    std::vector<size_t> members;
  };
  // Per group of members: the windows of a 7-bit text without zero bytes.
  std::vector<GroupCounts> Count(const uint8_t* bytes, size_t length) const;

 private:
  // Members whose maps agree on the bytes 01-7F, with those bytes numbered
  // densely (0 the map's 0, 1 its space), and per window of three numbers
  // whether some table of a member knows it (kKnown) and whether it counts
  // as a trigram (kCounted).
  struct Group {
    uint8_t code[128] = {};
    std::vector<uint16_t> windows;
    std::vector<size_t> members;
  };
  static constexpr uint16_t kKnown = 1;
  static constexpr uint32_t kCountedShift = 13;  // past any sum of kKnown over a sample

  class Walk;
  // Every group's counts, in group order, into `counts`.
  void Pass(const uint8_t* bytes, size_t length, WindowCounts* counts) const;

  std::vector<Group> groups_;
  bool usable_ = true;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_SEVEN_BIT_RIVALS_H
