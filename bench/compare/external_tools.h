// grep and Perl on the same words and message files, timed as whole
// processes.
#ifndef LEXORA_BENCH_COMPARE_EXTERNAL_TOOLS_H
#define LEXORA_BENCH_COMPARE_EXTERNAL_TOOLS_H

#include <cstdint>
#include <string>
#include <vector>

#include "bench/compare/corpus.h"
#include "bench/compare/stats.h"

namespace lexora_compare {

struct ToolFigures {
  bool available = false;
  std::string note;
  Stats mbPerSecond;
  // grep: matching lines; Perl: matches.
  uint64_t count = 0;
};

// Both read the words, one a line, from `wordsFile`, and run in the C locale.
ToolFigures MeasureGrep(const std::string& wordsFile, const Corpus& corpus, int runs);
ToolFigures MeasurePerl(const std::string& wordsFile, const Corpus& corpus, int runs);

struct ProcessResult {
  bool started = false;
  int exitCode = -1;
  std::string output;
};

// Runs argv[0] (looked up in PATH) with LC_ALL=C and collects its standard
// output.
ProcessResult RunProcess(const std::vector<std::string>& argv);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_EXTERNAL_TOOLS_H
