// lexora_compare: Lexora against the floors of any scanner and the tools
// people would use instead, on the same mail corpus, in one run.
//
//   lexora_compare --data DIR [--work DIR] [--results FILE] [--quick]
//
// DIR holds the corpus as DIR/*/*.txt. The W1k word list is written to the
// work folder for grep and Perl. The tables go to standard output and, with
// --results, into FILE together with the machine's description.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>

#include "bench/compare/corpus.h"
#include "bench/compare/external_tools.h"
#include "bench/compare/floors.h"
#include "bench/compare/hyperscan_measure.h"
#include "bench/compare/lexora_measure.h"
#include "bench/compare/process_memory.h"
#include "bench/compare/report.h"
#include "bench/compare/word_lists.h"
#include "bench/script_generator.h"
#include "lexora2/lexora2.h"

using namespace lexora_compare;

namespace {

struct Options {
  std::string data, work = ".", results;
  bool quick = false;
};

constexpr size_t kQuickStride = 10;

constexpr char kReading[] =
    "## Reading the table\n\n"
    "- (a) gives each message to a file stream, which detects its charset; (b) scans text decoded "
    "beforehand as UTF-8 when valid, else ISO-8859-1. Their hit counts differ slightly where the "
    "detector chose another charset. (a) also opens, sizes, reads and closes each file: the "
    "file-read floor is those system calls alone, and (b) with them added bounds (a) from above; "
    "floors are measured after the scans, not in their rounds.\n"
    "- Every scan reads each statement's hit counter after each message, as a host that reports "
    "them would.\n"
    "- Hits are raw hit counts summed over all statements and messages. For the words-only script "
    "they differ from Hyperscan's `\\bword\\b` matches because the two cut words differently "
    "(Hyperscan's `\\b` also splits hyphenated header names such as `Content-Type`).\n"
    "- R500 is 500 dictionary words of five letters or more that occur in the corpus at most three "
    "times each, evenly spread over the dictionary's order.\n"
    "- grep counts matching lines, not matches. grep and Perl run in the C locale and include "
    "their start-up and pattern compilation.\n"
    "- Compiled size is the heap growth across `Compile`; peak RSS includes the corpus, which "
    "the bench holds in memory.\n";
constexpr int kRuns = 5, kQuickRuns = 3;

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--quick") {
      o.quick = true;
    } else if ((a == "--data" || a == "--work" || a == "--results") && i + 1 < argc) {
      (a == "--data" ? o.data : a == "--work" ? o.work : o.results) = argv[++i];
    } else {
      return false;
    }
  }
  return !o.data.empty();
}

void Progress(const std::string& what) {
  std::cerr << "bench: " << what << std::endl;
}

std::u16string WordsOnlyScript(const std::vector<std::string>& words) {
  std::u16string script;
  for (const std::string& w : words) script += std::u16string(w.begin(), w.end()) + u"\n";
  return script;
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(path);
  for (const std::string& l : lines) out << l << "\n";
  if (!out) throw std::runtime_error("cannot write " + path);
}

struct Scan {
  Feed feed;
  int threads;
};

struct BenchScript {
  std::string name;
  std::u16string text;
  // Not every combination for every script: the whole bench must fit in ten
  // minutes, and the slowest tools need their five runs too.
  std::vector<Scan> scans;
};

const std::vector<Scan> kEveryScan = {{Feed::FileStreams, 1},
                                      {Feed::FileStreams, 2},
                                      {Feed::StringStreams, 1},
                                      {Feed::StringStreams, 2}};

// The scans are measured in rounds, one run of every configuration a round,
// Hyperscan's included: on a shared host whose speed drifts over minutes, a
// slow spell then slows every configuration alike, and the ratios between
// them hold where consecutive runs of one configuration would not.
void MeasureScans(Results& results, const Corpus& corpus, const std::vector<BenchScript>& scripts,
                  const WordLists& lists, const std::vector<std::string>& seldom, int runs) {
  for (const auto& [name, text, scans] : scripts) {
    Progress("compiling " + name);
    ScriptFigures s{name, 0, MeasureCompile(text, runs)};
    for (char16_t c : text) s.statements += c == u'\n';
    results.scripts.push_back(s);
  }
  struct Config {
    ILXScript* script;
    RunRow row;
    std::vector<double> speeds, busy;
  };
  std::vector<Config> configs;
  for (const auto& [name, text, scans] : scripts) {
    ILXScript* script = lexora_bench::CompileScript(text);
    if (!script) continue;
    for (const Scan& scan : scans)
      configs.push_back({script, {name, scan.feed, scan.threads, {}}, {}, {}});
  }
  struct Tool {
    const std::vector<std::string>& words;
    HyperscanFigures& figures;
    std::vector<double> speeds, compiles;
  };
  Tool tools[] = {{lists.common, results.hyperscan, {}, {}},
                  {seldom, results.hyperscanSeldom, {}, {}}};
  results.residentBefore = ResidentBytes();
  bool peakKnown = ResetPeakResident();
  for (int round = 0; round < runs; ++round) {
    Progress("scanning, round " + std::to_string(round + 1) + " of " + std::to_string(runs));
    for (Config& c : configs) {
      RunFigures f = MeasureRun(*c.script, corpus, c.row.feed, c.row.threads, 1);
      if (round == 0) c.row.figures = f;
      c.speeds.push_back(f.mbPerSecond.median);
      c.busy.push_back(f.coresBusy.median);
    }
    if (round == 0 && peakKnown) results.residentPeak = PeakResidentBytes();
    for (Tool& t : tools) {
      HyperscanFigures h = MeasureHyperscan(t.words, corpus, 1);
      if (round == 0) t.figures = h;
      if (!h.available) continue;
      t.speeds.push_back(h.mbPerSecond.median);
      t.compiles.push_back(h.compileSeconds.median);
    }
  }
  for (Config& c : configs) {
    c.row.figures.mbPerSecond = Summarise(c.speeds);
    c.row.figures.coresBusy = Summarise(c.busy);
    results.lexora.push_back(c.row);
  }
  for (Tool& t : tools) {
    if (!t.figures.available) continue;
    t.figures.mbPerSecond = Summarise(t.speeds);
    t.figures.compileSeconds = Summarise(t.compiles);
  }
  for (size_t i = 0; i < configs.size(); ++i) {
    if (i + 1 == configs.size() || configs[i + 1].script != configs[i].script) {
      configs[i].script->Release();
    }
  }
}

int Bench(const Options& o) {
  if (!LXInitialize()) throw std::runtime_error("LXInitialize failed");
  const int runs = o.quick ? kQuickRuns : kRuns;
  Progress("reading the corpus");
  Corpus corpus = LoadCorpus(o.data, o.quick ? kQuickStride : 1);

  Results results;
  results.loadBefore = LoadAverage();
  results.quick = o.quick;
  results.runs = runs;
  results.messages = corpus.messages.size();
  results.bytes = corpus.bytes;
  for (const Message& m : corpus.messages) results.utf8Messages += m.utf8;

  std::map<std::string, size_t> counts = CountWords(corpus);
  std::vector<std::string> dictionary = lexora_bench::LoadWordList();
  WordLists lists = MakeWordLists(counts, dictionary, 500, 500);
  std::vector<std::string> seldom = SeldomWords(counts, dictionary, 500);
  const std::string wordsFile = o.work + "/w1k.txt";
  WriteLines(wordsFile, lists.common);

  std::vector<BenchScript> scripts = {
      {"S1k", lexora_bench::GenerateScript(lists.common, 1000), kEveryScan},
      {"W1k words",
       WordsOnlyScript(lists.common),
       {{Feed::FileStreams, 1}, {Feed::StringStreams, 1}, {Feed::StringStreams, 2}}},
      // Words that seldom occur: what Hyperscan does best.
      {"R500 words", WordsOnlyScript(seldom), {{Feed::StringStreams, 1}}}};
  if (!o.quick) {
    Progress("finding the largest script that fits");
    size_t statements = lexora_bench::LargestFittingScript(lists.rare);
    scripts.push_back({"largest",
                       lexora_bench::GenerateScript(lists.rare, statements),
                       {{Feed::StringStreams, 1}}});
  }
  MeasureScans(results, corpus, scripts, lists, seldom, runs);

  Progress("floors");
  results.decode = MeasureDecode(corpus, runs);
  results.nfkd = MeasureNfkd(corpus, runs);
  results.memcpy = MeasureMemcpy(corpus, runs);
  results.fileReads = MeasureFileReads(corpus, runs);
  Progress("grep");
  results.grep = MeasureGrep(wordsFile, corpus, runs);
  Progress("Perl");
  results.perl = MeasurePerl(wordsFile, corpus, runs);
  LXCleanUp();

  std::string tables = FormatTables(results);
  std::cout << tables;
  if (!o.results.empty()) {
    std::ofstream out(o.results);
    out << "# Benchmark results\n\nWritten by `scripts/bench.sh`; the last full run.\n\n"
        << DescribeMachine(results) << "\n"
        << tables << "\n"
        << kReading;
    if (!out) throw std::runtime_error("cannot write " + o.results);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::cerr << "usage: lexora_compare --data DIR [--work DIR] [--results FILE] [--quick]\n";
    return 2;
  }
  try {
    return Bench(o);
  } catch (const std::exception& e) {
    std::cerr << "lexora_compare: " << e.what() << "\n";
    return 1;
  }
}
