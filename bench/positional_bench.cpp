// Time and memory of scans whose positional operators produce or search
// many positions: 2,000 dense NEAR statements, whose results must not all be
// kept to the end of the scan, and the negated operators at the largest
// distance, which must not compare every pair of positions.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/memory_counter.h"
#include "lexora2/lexora2.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// `units` code units of "alpha bravo " repeated.
std::u16string AlphaBravo(size_t units) {
  const std::u16string pattern = u"alpha bravo ";
  std::u16string text;
  text.reserve(units);
  while (text.size() < units) text += pattern;
  text.resize(units);
  return text;
}

// Scans `text` with `rules` once per iteration and reports the heap's peak
// during a scan and what the runner holds after it.
void ScanRepeatedly(benchmark::State& state, const std::u16string& rules,
                    const std::u16string& text) {
  LXInitialize();
  ILXScript* script = CreateLXScript();
  ILXStream* source = CreateStringStream(rules.data(), static_cast<uint32_t>(rules.size()));
  bool compiled = script->Compile(source);
  source->Release();
  if (!compiled) {
    state.SkipWithError("script did not compile");
    script->Release();
    return;
  }
  int64_t before = lexora_bench::LiveHeapBytes();
  ILXRunner* runner = script->CreateRunner();
  int64_t peak = 0;
  for (auto _ : state) {
    lexora_bench::ResetPeakHeapBytes();
    ILXStream* input = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
    if (!runner->Run(input)) state.SkipWithError("scan failed");
    input->Release();
    peak = std::max(peak, lexora_bench::PeakHeapBytes() - before);
  }
  uint64_t hits = 0;
  uint32_t h = 0;
  for (uint32_t i = 0; runner->GetExpressionResult(i, &h, nullptr); ++i) hits += h;
  state.counters["peak_MiB"] = static_cast<double>(peak) / kMiB;
  state.counters["held_MiB"] = static_cast<double>(lexora_bench::LiveHeapBytes() - before) / kMiB;
  state.counters["hits"] = static_cast<double>(hits);
  state.counters["input_KiB"] = static_cast<double>(text.size() * 2) / 1024.0;
  runner->Release();
  script->Release();
  LXCleanUp();
}

// Arguments: statements, input units.
void BM_DenseNearStatements(benchmark::State& state) {
  std::u16string rules;
  for (int64_t i = 0; i < state.range(0); ++i) {
    rules += u"[MATCH=ALL] alpha NEAR=";
    rules += static_cast<char16_t>(u'1' + i % 4);
    rules += u" bravo\n";
  }
  ScanRepeatedly(state, rules, AlphaBravo(static_cast<size_t>(state.range(1))));
}

// Arguments: operator (0 NOT NEAR, 1 NOT FOLLOWEDBY, 2 NOT PRECEDEDBY),
// input units.
void BM_NegatedLargestDistance(benchmark::State& state) {
  const char16_t* names[] = {u"NOT NEAR", u"NOT FOLLOWEDBY", u"NOT PRECEDEDBY"};
  std::u16string rules = u"[MATCH=ALL] alpha ";
  rules += names[state.range(0)];
  rules += u"=2147483647 bravo\n";
  ScanRepeatedly(state, rules, AlphaBravo(static_cast<size_t>(state.range(1))));
}

BENCHMARK(BM_DenseNearStatements)
    ->Args({2000, 1 << 20})
    ->Args({200, 1 << 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_NegatedLargestDistance)
    ->ArgsProduct({{0, 1, 2}, {128 << 10, 256 << 10, 512 << 10, 1 << 20}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
