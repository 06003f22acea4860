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

// Compiles a script; null when it does not compile.
ILXScript* Compile(const std::u16string& text) {
  ILXScript* script = CreateLXScript();
  ILXStream* stream = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
  bool ok = script->Compile(stream);
  stream->Release();
  if (!ok) {
    script->Release();
    return nullptr;
  }
  return script;
}

// The largest statement count (in steps of 250) whose script compiles.
size_t LargestFittingScript(const std::vector<std::string>& words) {
  static size_t cached = 0;
  if (cached) return cached;
  size_t low = 1000, high = 1000;
  for (;;) {
    ILXScript* s = Compile(lexora_bench::GenerateScript(words, high));
    if (!s) break;
    s->Release();
    low = high;
    high *= 2;
  }
  while (high - low > 250) {
    size_t mid = (low + high) / 2;
    ILXScript* s = Compile(lexora_bench::GenerateScript(words, mid));
    if (s) {
      s->Release();
      low = mid;
    } else {
      high = mid;
    }
  }
  return cached = low;
}

void CompileScript(benchmark::State& state, size_t statements) {
  Library library;
  std::vector<std::string> words = lexora_bench::LoadWordList();
  if (statements == 0) statements = LargestFittingScript(words);
  std::u16string text = lexora_bench::GenerateScript(words, statements);
  size_t compiledBytes = 0;
  for (auto _ : state) {
    int64_t before = lexora_bench::LiveHeapBytes();
    ILXScript* script = Compile(text);
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
