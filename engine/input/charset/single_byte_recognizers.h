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

// Every member's confidence, in member order.
SingleByteConfidenceList SingleByteConfidences(const SampleFacts& sample);

// Adds a candidate for every member whose confidence is above 0.
void AddSingleByteCandidates(const SampleFacts& sample, CharsetCandidateList& candidates);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_SINGLE_BYTE_RECOGNIZERS_H
