// The figures of one bench run, the ratios against their targets, and the
// machine they were taken on, as Markdown.
#ifndef LEXORA_BENCH_COMPARE_REPORT_H
#define LEXORA_BENCH_COMPARE_REPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "bench/compare/external_tools.h"
#include "bench/compare/hyperscan_measure.h"
#include "bench/compare/lexora_measure.h"
#include "bench/compare/stats.h"

namespace lexora_compare {

struct ScriptFigures {
  std::string name;
  size_t statements = 0;
  CompileFigures compile;
};

struct RunRow {
  std::string script;
  Feed feed = Feed::FileStreams;
  int threads = 1;
  RunFigures figures;
};

struct Results {
  size_t messages = 0, utf8Messages = 0, bytes = 0;
  int runs = 0;
  bool quick = false;
  std::vector<ScriptFigures> scripts;  // S1k, W1k words-only, R500 words-only, largest
  std::vector<RunRow> lexora;
  Stats decode, nfkd, memcpy, fileReads;
  HyperscanFigures hyperscan;        // on the W1k words
  HyperscanFigures hyperscanSeldom;  // on the R500 words
  ToolFigures grep, perl;
  int64_t residentBefore = -1, residentPeak = -1;
  std::string loadBefore;
};

struct Ratio {
  std::string name;
  double value = 0;
  bool known = false;
  std::string target;  // empty: reported, with no target to meet
  bool pass = false;
};

std::vector<Ratio> ComputeRatios(const Results& r);

std::string FormatTables(const Results& r);
// The 1, 5 and 15 minute load averages.
std::string LoadAverage();
std::string DescribeMachine(const Results& r);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_REPORT_H
