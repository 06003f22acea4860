#include "bench/compare/report.h"

#include <sys/utsname.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include "bench/compare/floors.h"

namespace lexora_compare {
namespace {

// A single-thread scan that gets less of a core than this was competing with
// other work.
constexpr double kBusyEnough = 0.9;

std::string Fixed(double v, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
  return buffer;
}

// Three significant figures or so, whatever the magnitude.
std::string Figure(double v) {
  return Fixed(v, v >= 100 ? 0 : v >= 10 ? 1 : v >= 1 ? 2 : 3);
}

std::string Row(const std::vector<std::string>& cells) {
  std::string line = "|";
  for (const std::string& c : cells) line += " " + c + " |";
  return line + "\n";
}

std::string StatsRow(const std::string& what, const Stats& s, const std::string& unit,
                     double scale = 1) {
  if (!s.valid) return Row({what, "n/a", "", "", unit});
  return Row({what, Figure(s.median * scale), Figure(s.min * scale), Figure(s.max * scale), unit});
}

const char* FeedName(Feed f) {
  return f == Feed::FileStreams ? "(a) file streams" : "(b) string streams";
}

const RunRow* FindRun(const Results& r, const std::string& script, Feed feed, int threads) {
  for (const RunRow& row : r.lexora) {
    if (row.script == script && row.feed == feed && row.threads == threads) return &row;
  }
  return nullptr;
}

const ScriptFigures* FindScript(const Results& r, const std::string& name) {
  for (const ScriptFigures& s : r.scripts) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

Ratio Make(std::string name, std::string target, bool known, double value, bool atLeast,
           double bound) {
  Ratio ratio{std::move(name), value, known, std::move(target), false};
  ratio.pass = known && !ratio.target.empty() && (atLeast ? value >= bound : value <= bound);
  return ratio;
}

double Median(const RunRow* row) {
  return row && row->figures.mbPerSecond.valid ? row->figures.mbPerSecond.median : 0;
}

double HyperscanMedian(const HyperscanFigures& h) {
  return h.available && h.mbPerSecond.valid ? h.mbPerSecond.median : 0;
}

std::string ReadFirstMatch(const char* path, const std::string& key) {
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size(), key) == 0) {
      size_t colon = line.find(':');
      if (colon == std::string::npos) return line;
      size_t start = line.find_first_not_of(" \t", colon + 1);
      return start == std::string::npos ? "" : line.substr(start);
    }
  }
  return "unknown";
}

// The compile time, database size and scan of one word list; without
// Hyperscan one row that says why.
std::string HyperscanRows(const std::string& list, const HyperscanFigures& h) {
  if (!h.available) return Row({"Hyperscan " + list + " (" + h.note + ")", "n/a", "", "", ""});
  return StatsRow("Hyperscan compile " + list, h.compileSeconds, "ms", 1e3) +
         Row({"Hyperscan database size " + list,
              Fixed(static_cast<double>(h.databaseBytes) / 1024, 0), "", "", "KiB"}) +
         StatsRow("Hyperscan scan " + list + " (" + std::to_string(h.matches) + " matches)",
                  h.mbPerSecond, "MB/s");
}

}  // namespace

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return in ? one + " " + five + " " + fifteen : "unknown";
}

std::vector<Ratio> ComputeRatios(const Results& r) {
  std::vector<Ratio> ratios;
  double wordsOnly = Median(FindRun(r, "W1k words", Feed::StringStreams, 1));
  double hs = HyperscanMedian(r.hyperscan);
  ratios.push_back(Make("Lexora (b) W1k words ÷ Hyperscan W1k, MB/s", "≥ 1.5",
                        wordsOnly > 0 && hs > 0, hs > 0 ? wordsOnly / hs : 0, true, 1.5));

  double s1kString = Median(FindRun(r, "S1k", Feed::StringStreams, 1));
  ratios.push_back(Make("Lexora (b) S1k ÷ Hyperscan W1k, MB/s", "≥ 1.0", s1kString > 0 && hs > 0,
                        hs > 0 ? s1kString / hs : 0, true, 1.0));

  double s1kFile = Median(FindRun(r, "S1k", Feed::FileStreams, 1));
  ratios.push_back(Make("Lexora (a) S1k ÷ (b) S1k, MB/s", "≥ 0.8", s1kFile > 0 && s1kString > 0,
                        s1kString > 0 ? s1kFile / s1kString : 0, true, 0.8));

  // File streams pay the system calls on top of (b), whatever they do with
  // the bytes: (a) ÷ (b) cannot pass this.
  double reads = r.fileReads.valid ? r.fileReads.median : 0;
  ratios.push_back(
      Make("(b) S1k with the file-read floor added ÷ (b) S1k: the most (a) ÷ (b) can be", "",
           s1kString > 0 && reads > 0,
           reads > 0 ? SerialThroughput(s1kString, reads) / s1kString : 0, true, 0));

  double largest = Median(FindRun(r, "largest", Feed::StringStreams, 1));
  ratios.push_back(Make("Lexora (b) largest ÷ (b) W1k words, MB/s", "≥ 0.5",
                        largest > 0 && wordsOnly > 0, wordsOnly > 0 ? largest / wordsOnly : 0, true,
                        0.5));

  double seldom = Median(FindRun(r, "R500 words", Feed::StringStreams, 1));
  double hsSeldom = HyperscanMedian(r.hyperscanSeldom);
  ratios.push_back(Make("Lexora (b) R500 words ÷ Hyperscan R500, MB/s", "",
                        seldom > 0 && hsSeldom > 0, hsSeldom > 0 ? seldom / hsSeldom : 0, true, 0));

  double floor =
      r.decode.valid && r.nfkd.valid ? SerialThroughput(r.decode.median, r.nfkd.median) : 0;
  ratios.push_back(Make("Lexora (a) S1k ÷ decode+NFKD floor, MB/s", "≥ 0.40",
                        s1kFile > 0 && floor > 0, floor > 0 ? s1kFile / floor : 0, true, 0.40));

  const ScriptFigures* s1k = FindScript(r, "S1k");
  bool compileKnown =
      s1k && s1k->compile.ok && r.hyperscan.compileSeconds.valid && s1k->compile.seconds.median > 0;
  ratios.push_back(
      Make("Hyperscan W1k compile ÷ Lexora S1k compile", "≥ 100", compileKnown,
           compileKnown ? r.hyperscan.compileSeconds.median / s1k->compile.seconds.median : 0, true,
           100));

  double s1kTwo = Median(FindRun(r, "S1k", Feed::FileStreams, 2));
  ratios.push_back(Make("2 threads ÷ 1 thread, Lexora (a) S1k", "≥ 1.8", s1kFile > 0 && s1kTwo > 0,
                        s1kFile > 0 ? s1kTwo / s1kFile : 0, true, 1.8));

  const ScriptFigures* w1k = FindScript(r, "W1k words");
  bool sizeKnown = w1k && w1k->compile.ok && r.hyperscan.databaseBytes > 0;
  ratios.push_back(Make("Lexora W1k compiled size ÷ Hyperscan W1k database", "≤ 1.0", sizeKnown,
                        sizeKnown ? static_cast<double>(w1k->compile.compiledBytes) /
                                        static_cast<double>(r.hyperscan.databaseBytes)
                                  : 0,
                        false, 1.0));
  return ratios;
}

std::string FormatTables(const Results& r) {
  std::ostringstream out;
  out << "Corpus: " << r.messages << " messages (" << r.utf8Messages << " valid UTF-8, the rest "
      << "read as ISO-8859-1), " << Fixed(static_cast<double>(r.bytes) / 1e6, 1)
      << " MB. Each figure: median, min and max of " << r.runs << " runs"
      << (r.quick ? " (quick mode: a subset of the messages)" : "")
      << "; the scans, Lexora's and Hyperscan's, run in rounds of one run each, so that a "
      << "change in the machine's speed touches them alike. MB = 10^6 bytes of corpus.\n\n";

  out << Row({"figure", "median", "min", "max", "unit"})
      << Row({"---", "---:", "---:", "---:", "---"});
  for (const ScriptFigures& s : r.scripts) {
    std::string label =
        "Lexora compile " + s.name + " (" + std::to_string(s.statements) + " statements)";
    if (!s.compile.ok) {
      out << Row({label, "failed: " + s.compile.error, "", "", ""});
      continue;
    }
    out << StatsRow(label, s.compile.seconds, "ms", 1e3);
    out << Row({"Lexora compiled size " + s.name,
                Fixed(static_cast<double>(s.compile.compiledBytes) / 1024, 0), "", "", "KiB"});
  }
  for (const RunRow& row : r.lexora) {
    std::string label = "Lexora " + std::string(FeedName(row.feed)) + " " + row.script + ", " +
                        std::to_string(row.threads) + (row.threads == 1 ? " thread" : " threads");
    label += " (" + std::to_string(row.figures.hitSum) + " hits";
    if (row.figures.coresBusy.valid) {
      label += ", " + Fixed(row.figures.coresBusy.median, 2) + " cores busy";
    }
    label += ")";
    if (row.figures.failures) {
      label += " (" + std::to_string(row.figures.failures) + " scans failed)";
    }
    out << StatsRow(label, row.figures.mbPerSecond, "MB/s");
  }
  if (r.residentPeak >= 0) {
    out << Row({"Peak RSS during the Lexora runs (before them: " +
                    Fixed(static_cast<double>(r.residentBefore) / 1048576, 0) +
                    " MiB, corpus held in memory)",
                Fixed(static_cast<double>(r.residentPeak) / 1048576, 0), "", "", "MiB"});
  }
  out << StatsRow("Floor: ICU decode to UTF-16", r.decode, "MB/s");
  out << StatsRow("Floor: ICU NFKD, 128-unit chunks", r.nfkd, "MB/s");
  if (r.decode.valid && r.nfkd.valid) {
    out << Row({"Floor: decode + NFKD (1/(1/decode+1/nfkd))",
                Figure(SerialThroughput(r.decode.median, r.nfkd.median)), "", "", "MB/s"});
  }
  out << StatsRow("Floor: memcpy", r.memcpy, "MB/s");
  out << StatsRow("Floor: open, fstat, read, close of each message file", r.fileReads, "MB/s");
  out << HyperscanRows("W1k", r.hyperscan) << HyperscanRows("R500", r.hyperscanSeldom);
  auto tool = [&](const std::string& label, const ToolFigures& t, const std::string& counted) {
    if (!t.available) return Row({label + " (" + t.note + ")", "n/a", "", "", ""});
    return StatsRow(label + " (" + std::to_string(t.count) + " " + counted + ")", t.mbPerSecond,
                    "MB/s");
  };
  out << tool("grep -c -F -w -i, W1k, whole process", r.grep, "matching lines");
  out << tool("Perl alternation /\\b(?:...)\\b/i, W1k, whole process", r.perl, "matches");

  double leastBusy = 1;
  for (const RunRow& row : r.lexora) {
    if (row.threads == 1 && row.figures.coresBusy.valid) {
      leastBusy = std::min(leastBusy, row.figures.coresBusy.median);
    }
  }
  if (leastBusy < kBusyEnough) {
    out << "\nNote: a single-thread scan had only " << Fixed(leastBusy, 2)
        << " of a core. Other work was running on the machine: the figures understate it, and "
           "ratios between figures taken at different moments are unreliable.\n";
  }

  out << "\n" << Row({"ratio", "value", "target", "result"}) << Row({"---", "---:", "---", "---"});
  for (const Ratio& ratio : ComputeRatios(r)) {
    std::string result = !ratio.known           ? "n/a"
                         : ratio.target.empty() ? "reported"
                         : ratio.pass           ? "PASS"
                                                : "MISS";
    out << Row({ratio.name, ratio.known ? Fixed(ratio.value, 2) : "n/a",
                ratio.target.empty() ? "—" : ratio.target, result});
  }
  return out.str();
}

std::string DescribeMachine(const Results& r) {
  std::ostringstream out;
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  char date[64];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  struct utsname system {};
  uname(&system);
  out << "- Date: " << date << "\n";
  out << "- CPU: " << ReadFirstMatch("/proc/cpuinfo", "model name") << ", "
      << std::thread::hardware_concurrency() << " logical cores\n";
  out << "- Load average before the run (1, 5, 15 min; other work on the machine slows every "
         "figure): "
      << r.loadBefore << "\n";
  out << "- Memory: " << ReadFirstMatch("/proc/meminfo", "MemTotal") << "\n";
  out << "- System: " << system.sysname << " " << system.release << " " << system.machine << "\n";
  out << "- Compiler: g++ " << __VERSION__ << ", the RelWithDebInfo build\n";
  return out.str();
}

}  // namespace lexora_compare
