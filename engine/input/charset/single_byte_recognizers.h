// The single-byte recognizers: each maps the sample through its character
// map, counts the trigrams of the mapped text and how many of them each of
// its languages knows.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H
#define LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/input/charset/candidate_list.h"
#include "engine/input/charset/live_windows.h"
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

// Where the member's tables start in its map's index: the tables of the
// members that share a map follow each other in member order.
size_t FirstTableInIndex(size_t member);

// The member's Windows name when the sample has C1 bytes, else its ISO name.
const char* SingleByteName(size_t member, bool c1Bytes);

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

// What is known of a confidence so far: it lies in [low, high].
struct ConfidenceRange {
  int32_t low;
  int32_t high;
};

// The members' confidences for one sample, each worked out as far as it is
// asked for; members that share a character map share one pass over the
// sample, which stops where it was left and resumes when asked for more.
class SingleByteScorer {
 public:
  explicit SingleByteScorer(const SampleFacts& sample) : sample_(sample) {}
  int32_t Confidence(size_t member);
  // Counts on until the member's confidence is known or certainly below
  // `need`, and says what is then known of it.
  ConfidenceRange Narrow(size_t member, int32_t need);
  // The member's name for this sample.
  const char* Name(size_t member) const;

 private:
  static constexpr size_t kChunk = LiveWindows::kMaxWindows;
  static constexpr size_t kNoGroup = ~size_t{0};

  // The bytes that enter the window, after two bytes of history (zero
  // bytes at the start: they read as the map's 0, so the first two windows
  // do not count). While the sample is one chunk they are kept for the two
  // space groups used last, with their live windows once counted.
  struct Kept {
    uint8_t bytes[kChunk + 2] = {};
    size_t end = 0;
    size_t group = kNoGroup;
    bool surveyed = false;
    LiveWindows live;
  };

  // Longer samples go a chunk at a time, to the end.
  void CountAll(size_t map);
  Kept& KeptFor(const TrigramIndex& index);
  // The member's best table has at least `least` and at most `most` hits
  // among `trigrams`, which are known or, before the survey, an upper bound.
  struct HitBounds {
    uint32_t least;
    uint32_t most;
    uint32_t trigrams;
  };
  HitBounds Bounds(size_t member, const Kept& kept) const;
  // The fewest hits among `trigrams` that give at least `confidence`.
  uint32_t LeastHitsFor(int32_t confidence, uint32_t trigrams) const;

  const SampleFacts& sample_;
  SingleByteMapCounts counts_[kCharMapCount] = {};
  bool done_[kCharMapCount] = {};      // longer samples: whether the map is counted
  size_t resume_[kCharMapCount] = {};  // the next window end to count; 0 before any
  bool counted_ = false;               // whether any map has been counted
  uint64_t surveyedGroups_ = 0;        // space groups whose live windows were counted
  Kept kept_[2];
  size_t lastKept_ = 0;
};

// Every member's confidence, in member order.
SingleByteConfidenceList SingleByteConfidences(const SampleFacts& sample);

// Adds a candidate for every member whose confidence is above 0.
void AddSingleByteCandidates(const SampleFacts& sample, CharsetCandidateList& candidates);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H
