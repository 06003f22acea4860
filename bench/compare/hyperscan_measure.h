// Hyperscan on the same words and bytes: `\bword\b` caseless, every match
// counted, message by message.
#ifndef LEXORA_BENCH_COMPARE_HYPERSCAN_MEASURE_H
#define LEXORA_BENCH_COMPARE_HYPERSCAN_MEASURE_H

#include <cstdint>
#include <string>
#include <vector>

#include "bench/compare/corpus.h"
#include "bench/compare/stats.h"

namespace lexora_compare {

struct HyperscanFigures {
  // False when the bench was built without Hyperscan or it failed; `note`
  // says which.
  bool available = false;
  std::string note;
  Stats compileSeconds;
  int64_t databaseBytes = 0;
  Stats mbPerSecond;
  uint64_t matches = 0;
};

HyperscanFigures MeasureHyperscan(const std::vector<std::string>& words, const Corpus& corpus,
                                  int runs);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_HYPERSCAN_MEASURE_H
