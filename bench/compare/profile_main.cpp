// Runs one scan configuration of the comparison over the corpus, repeated,
// and nothing else: a target for perf and callgrind.
//   lexora_profile --data DIR [--script S1k|W1k|largest|FILE] [--feed file|string]
//                  [--threads N] [--runs N] [--stride N]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "bench/compare/lexora_measure.h"
#include "bench/compare/word_lists.h"
#include "bench/script_generator.h"

namespace {

struct Options {
  std::string data;
  std::string script = "S1k";
  lexora_compare::Feed feed = lexora_compare::Feed::StringStreams;
  int threads = 1;
  int runs = 5;
  size_t stride = 1;
};

// A script of one's own, to profile one feature at a time.
std::u16string ReadAsciiScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::u16string text;
  for (char c; in.get(c);) {
    if (static_cast<unsigned char>(c) >= 0x80) throw std::runtime_error(path + " is not ASCII");
    text += static_cast<char16_t>(c);
  }
  return text;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i], value = argv[i + 1];
    if (name == "--data") {
      o.data = value;
    } else if (name == "--script") {
      o.script = value;
    } else if (name == "--feed" && (value == "file" || value == "string")) {
      o.feed =
          value == "file" ? lexora_compare::Feed::FileStreams : lexora_compare::Feed::StringStreams;
    } else if (name == "--threads") {
      o.threads = std::max(1, std::atoi(value.c_str()));
    } else if (name == "--runs") {
      o.runs = std::max(1, std::atoi(value.c_str()));
    } else if (name == "--stride") {
      o.stride = static_cast<size_t>(std::max(1, std::atoi(value.c_str())));
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !o.data.empty();
}

int Profile(const Options& o) {
  using namespace lexora_compare;
  if (!LXInitialize()) throw std::runtime_error("LXInitialize failed");
  Corpus corpus = LoadCorpus(o.data, o.stride);
  WordLists lists = MakeWordLists(CountWords(corpus), lexora_bench::LoadWordList(), 500, 500);
  std::u16string text;
  if (o.script == "S1k") {
    text = lexora_bench::GenerateScript(lists.common, 1000);
  } else if (o.script == "largest") {
    text = lexora_bench::GenerateScript(lists.rare, lexora_bench::LargestFittingScript(lists.rare));
  } else if (o.script == "W1k") {
    for (const std::string& w : lists.common) text += std::u16string(w.begin(), w.end()) + u"\n";
  } else {
    text = ReadAsciiScript(o.script);
  }
  ILXScript* script = lexora_bench::CompileScript(text);
  if (!script) throw std::runtime_error("the script does not compile");
  RunFigures f = MeasureRun(*script, corpus, o.feed, o.threads, o.runs);
  std::printf("%s: %.1f MB/s median (%.1f .. %.1f), %llu hits, %zu failures\n", o.script.c_str(),
              f.mbPerSecond.median, f.mbPerSecond.min, f.mbPerSecond.max,
              static_cast<unsigned long long>(f.hitSum), f.failures);
  script->Release();
  LXCleanUp();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::cerr
        << "usage: lexora_profile --data DIR [--script S1k|W1k|largest|FILE] [--feed file|string]"
           " [--threads N] [--runs N] [--stride N]\n";
    return 2;
  }
  try {
    return Profile(o);
  } catch (const std::exception& e) {
    std::cerr << "lexora_profile: " << e.what() << "\n";
    return 1;
  }
}
