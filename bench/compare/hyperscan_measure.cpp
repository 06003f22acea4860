#include "bench/compare/hyperscan_measure.h"

#include <hs.h>

#include <chrono>

namespace lexora_compare {
namespace {

struct Database {
  hs_database_t* db = nullptr;
  ~Database() { hs_free_database(db); }
};

struct Scratch {
  hs_scratch_t* scratch = nullptr;
  ~Scratch() { hs_free_scratch(scratch); }
};

int CountMatch(unsigned, unsigned long long, unsigned long long, unsigned, void* context) {
  ++*static_cast<uint64_t*>(context);
  return 0;
}

// Compiles into `into`; the error text, empty on success.
std::string Compile(const std::vector<std::string>& patterns, Database& into) {
  std::vector<const char*> expressions;
  std::vector<unsigned> flags(patterns.size(), HS_FLAG_CASELESS);
  std::vector<unsigned> ids;
  for (size_t i = 0; i < patterns.size(); ++i) {
    expressions.push_back(patterns[i].c_str());
    ids.push_back(static_cast<unsigned>(i));
  }
  hs_compile_error_t* error = nullptr;
  if (hs_compile_multi(expressions.data(), flags.data(), ids.data(),
                       static_cast<unsigned>(patterns.size()), HS_MODE_BLOCK, nullptr, &into.db,
                       &error) == HS_SUCCESS) {
    return {};
  }
  std::string text = error && error->message ? error->message : "hs_compile_multi failed";
  hs_free_compile_error(error);
  return text;
}

}  // namespace

HyperscanFigures MeasureHyperscan(const std::vector<std::string>& words, const Corpus& corpus,
                                  int runs) {
  HyperscanFigures figures;
  figures.note = std::string("Hyperscan ") + hs_version();
  std::vector<std::string> patterns;
  for (const std::string& w : words) patterns.push_back("\\b" + w + "\\b");

  Database db;
  std::vector<double> compileSeconds;
  for (int r = 0; r < runs; ++r) {
    Database attempt;
    auto start = std::chrono::steady_clock::now();
    std::string error = Compile(patterns, attempt);
    compileSeconds.push_back(SecondsSince(start));
    if (!error.empty()) {
      figures.note = "Hyperscan compile failed: " + error;
      return figures;
    }
    std::swap(db.db, attempt.db);
  }
  figures.compileSeconds = Summarise(compileSeconds);
  size_t size = 0;
  if (hs_database_size(db.db, &size) == HS_SUCCESS)
    figures.databaseBytes = static_cast<int64_t>(size);

  Scratch scratch;
  if (hs_alloc_scratch(db.db, &scratch.scratch) != HS_SUCCESS) {
    figures.note = "Hyperscan could not allocate scratch space";
    return figures;
  }
  bool failed = false;
  auto seconds = TimeRuns(runs, [&] {
    uint64_t matches = 0;
    for (const Message& m : corpus.messages) {
      if (hs_scan(db.db, m.bytes.data(), static_cast<unsigned>(m.bytes.size()), 0, scratch.scratch,
                  CountMatch, &matches) != HS_SUCCESS) {
        failed = true;
      }
    }
    figures.matches = matches;
  });
  if (failed) {
    figures.note = "Hyperscan scan failed";
    return figures;
  }
  figures.mbPerSecond = Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
  figures.available = true;
  return figures;
}

}  // namespace lexora_compare
