#include "bench/compare/lexora_measure.h"

#include <sys/resource.h>

#include <atomic>
#include <thread>
#include <vector>

#include "bench/compare/process_memory.h"

namespace lexora_compare {
namespace {

std::string Narrow(const char16_t* text) {
  std::string s;
  for (; text && *text; ++text) s += *text < 0x80 ? static_cast<char>(*text) : '?';
  return s;
}

struct Pass {
  std::atomic<size_t> failures{0};
  std::atomic<int64_t> scoreSum{0};
  std::atomic<uint64_t> hitSum{0};
};

ILXStream* OpenMessage(const Message& m, Feed feed) {
  return feed == Feed::FileStreams
             ? CreateFileStream(m.path.c_str())
             : CreateStringStream(m.text.data(), static_cast<uint32_t>(m.text.size()));
}

// Reads the results as a host would after each scan.
void ScanShare(ILXRunner& runner, uint32_t expressions, const Corpus& corpus, Feed feed,
               size_t first, size_t step, Pass& pass) {
  size_t failures = 0;
  int64_t scoreSum = 0;
  uint64_t hitSum = 0;
  for (size_t i = first; i < corpus.messages.size(); i += step) {
    ILXStream* stream = OpenMessage(corpus.messages[i], feed);
    if (stream && runner.Run(stream)) {
      scoreSum += runner.GetScore();
      for (uint32_t e = 0; e < expressions; ++e) {
        uint32_t hits = 0;
        if (runner.GetExpressionResult(e, &hits, nullptr)) hitSum += hits;
      }
    } else {
      ++failures;
    }
    if (stream) stream->Release();
  }
  pass.failures += failures;
  pass.scoreSum += scoreSum;
  pass.hitSum += hitSum;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

CompileFigures MeasureCompile(const std::u16string& script, int runs) {
  CompileFigures figures;
  std::vector<double> seconds;
  for (int i = 0; i < runs; ++i) {
    int64_t heapBefore = HeapInUseBytes();
    auto start = std::chrono::steady_clock::now();
    ILXScript* compiled = CreateLXScript();
    ILXStream* text = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
    bool ok = compiled->Compile(text);
    text->Release();
    seconds.push_back(SecondsSince(start));
    figures.compiledBytes = HeapInUseBytes() - heapBefore;
    if (!ok) {
      figures.error = compiled->GetErrorCount() ? Narrow(compiled->GetError(0)) : "compile failed";
      compiled->Release();
      return figures;
    }
    compiled->Release();
  }
  figures.ok = true;
  figures.seconds = Summarise(seconds);
  return figures;
}

RunFigures MeasureRun(ILXScript& script, const Corpus& corpus, Feed feed, int threads, int runs) {
  const uint32_t expressions = script.GetExpressionCount();
  std::vector<ILXRunner*> runners;
  for (int t = 0; t < threads; ++t) runners.push_back(script.CreateRunner());
  RunFigures figures;
  std::vector<double> seconds, cores;
  for (int r = 0; r < runs; ++r) {
    Pass pass;
    double cpuStart = ProcessCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
      workers.emplace_back(ScanShare, std::ref(*runners[t]), expressions, std::cref(corpus), feed,
                           t, threads, std::ref(pass));
    }
    ScanShare(*runners[0], expressions, corpus, feed, 0, threads, pass);
    for (std::thread& w : workers) w.join();
    seconds.push_back(SecondsSince(start));
    cores.push_back(seconds.back() > 0 ? (ProcessCpuSeconds() - cpuStart) / seconds.back() : 0);
    figures.failures = pass.failures;
    figures.scoreSum = pass.scoreSum;
    figures.hitSum = pass.hitSum;
  }
  for (ILXRunner* runner : runners) runner->Release();
  figures.mbPerSecond = Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
  figures.coresBusy = Summarise(cores);
  return figures;
}

}  // namespace lexora_compare
