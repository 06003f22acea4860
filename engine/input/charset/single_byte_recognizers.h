// The single-byte recognizers: each maps the sample through its character
// map, counts the trigrams of the mapped text and how many of them each of
// its languages knows.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H
#define LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/input/charset/candidate_list.h"
#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/trained_data.h"
#include "engine/input/charset/trigram_index.h"

namespace Nimbra::Lexora {

struct SingleByteRecognizer {
  const char* isoName;
  const char* c1Name;  // null when the member has no Windows name
  int32_t weight;
  CharMapId map;
  uint8_t space;  // the map's space character
  TrigramTableId firstTable;
  uint8_t tableCount;
};

// The thirteen members, in detection order.
inline constexpr size_t kSingleByteRecognizerCount = 13;
extern const SingleByteRecognizer kSingleByteRecognizers[kSingleByteRecognizerCount];
using SingleByteConfidenceList = std::array<int32_t, kSingleByteRecognizerCount>;

// True when the trigram table knows the trigram {a, b, c}.
bool KnowsTrigram(const uint8_t* table, uint8_t a, uint8_t b, uint8_t c);

// Confidence from the counts: 0 for samples with many zero bytes, 99 when
// the best language knows more than a third of the trigrams, else the
// known share times 300.
int32_t SingleByteConfidence(const SampleFacts& sample, uint32_t bestHits, uint32_t trigrams);

// A map's trigrams in a sample and the hits of each table of its index.
struct SingleByteMapCounts {
  uint32_t trigrams = 0;
  uint32_t hits[TrigramIndex::kMaxTables] = {};
};

// The members' confidences for one sample, each worked out when first asked
// for; members that share a character map share one pass over the sample.
class SingleByteScorer {
 public:
  explicit SingleByteScorer(const SampleFacts& sample) : sample_(sample) {}
  int32_t Confidence(size_t member);
  // True when the member's confidence is certainly below 99, found without
  // necessarily reading the whole sample; false when it may be 99 (its
  // confidence is then at hand).
  bool BelowSure(size_t member);
  // The member's Windows name when the sample has C1 bytes, else its ISO name.
  const char* Name(size_t member) const;

 private:
  static constexpr size_t kChunk = 4096;
  static constexpr size_t kNoGroup = ~size_t{0};

  // Counts the map's trigrams and hits, from where an earlier count of it
  // stopped; with stopBelowSure it stops as soon as no table of the map can
  // reach 99 any more.
  void Count(size_t map, bool stopBelowSure);

  const SampleFacts& sample_;
  SingleByteMapCounts counts_[kCharMapCount] = {};
  bool done_[kCharMapCount] = {};
  size_t resume_[kCharMapCount] = {};  // the next window end to count; 0 before any
  // The bytes that enter the window, after two bytes of history (zero
  // bytes at the start: they read as the map's 0, so the first two windows
  // do not count). While the sample is one chunk they are kept for the two
  // space groups used last, as counts may stop and resume.
  struct Kept {
    uint8_t bytes[kChunk + 2] = {};
    size_t end = 0;
    size_t group = kNoGroup;
  };
  Kept kept_[2];
  size_t lastKept_ = 0;
};

// Every member's confidence, in member order.
SingleByteConfidenceList SingleByteConfidences(const SampleFacts& sample);

// Adds a candidate for every member whose confidence is above 0.
void AddSingleByteCandidates(const SampleFacts& sample, CharsetCandidateList& candidates);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H
