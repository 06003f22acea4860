// Lexora measured end to end through the library's public interface only.
#ifndef LEXORA_BENCH_COMPARE_LEXORA_MEASURE_H
#define LEXORA_BENCH_COMPARE_LEXORA_MEASURE_H

#include <cstdint>
#include <string>

#include "bench/compare/corpus.h"
#include "bench/compare/stats.h"
#include "lexora2/lexora2.h"

namespace lexora_compare {

struct CompileFigures {
  Stats seconds;
  // Heap growth from creating the script to the end of a successful Compile.
  int64_t compiledBytes = 0;
  bool ok = false;
  std::string error;
};

CompileFigures MeasureCompile(const std::u16string& script, int runs);

enum class Feed {
  FileStreams,    // a file stream per message, charset detected: what the command line does
  StringStreams,  // a string stream over each message's already-decoded text
};

struct RunFigures {
  Stats mbPerSecond;
  // Process CPU time over wall time: below the thread count when other work
  // on the machine took the cores.
  Stats coresBusy;
  // Over one pass: failed scans, and the sums of scores and of raw hit counts
  // over all expressions, which show that every configuration did the same
  // work (and, for a words-only script, compare with another tool's matches).
  size_t failures = 0;
  int64_t scoreSum = 0;
  uint64_t hitSum = 0;
};

// Each of `threads` threads scans every threads-th message with its own
// runner of `script`.
RunFigures MeasureRun(ILXScript& script, const Corpus& corpus, Feed feed, int threads, int runs);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_LEXORA_MEASURE_H
