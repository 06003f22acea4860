// Compile time and compiled size of generated scripts: 1,000 statements and
// the largest script that still fits the automata's state limits.
#include <benchmark/benchmark.h>

#include "bench/memory_counter.h"
#include "bench/script_generator.h"
#include "lexora2/lexora2.h"

namespace {

struct Library {
  Library() { LXInitialize(); }
  ~Library() { LXCleanUp(); }
};

void CompileScript(benchmark::State& state, size_t statements) {
  Library library;
  std::vector<std::string> words = lexora_bench::LoadWordList();
  if (statements == 0) statements = lexora_bench::LargestFittingScript(words);
  std::u16string text = lexora_bench::GenerateScript(words, statements);
  size_t compiledBytes = 0;
  for (auto _ : state) {
    int64_t before = lexora_bench::LiveHeapBytes();
    ILXScript* script = lexora_bench::CompileScript(text);
    compiledBytes = static_cast<size_t>(lexora_bench::LiveHeapBytes() - before);
    if (!script) {
      state.SkipWithError("script did not compile");
      break;
    }
    state.PauseTiming();
    script->Release();
    state.ResumeTiming();
  }
  state.counters["statements"] = static_cast<double>(statements);
  state.counters["compiled_KiB"] = static_cast<double>(compiledBytes) / 1024.0;
  state.counters["script_KiB"] = static_cast<double>(text.size() * 2) / 1024.0;
}

void BM_Compile1000(benchmark::State& state) {
  CompileScript(state, 1000);
}
void BM_CompileLargest(benchmark::State& state) {
  CompileScript(state, 0);
}

BENCHMARK(BM_Compile1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileLargest)->Unit(benchmark::kMillisecond);

}  // namespace
