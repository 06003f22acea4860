// Scan throughput end to end and by stage: decoding, normalisation, word
// finding, phrase finding and execution, over generated text with the
// generated scripts of the compile benchmark.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "bench/script_generator.h"
#include "engine/base/utf.h"
#include "engine/language/script_compiler.h"
#include "engine/runtime/input_analyser.h"
#include "engine/runtime/sequence_finder.h"
#include "engine/runtime/virtual_machine.h"
#include "engine/runtime/word_finder.h"
#include "lexora2/lexora2.h"

using namespace Nimbra::Lexora;

namespace {

constexpr size_t kCorpusBytes = 4 << 20;

// Shared inputs, built once: the corpus as UTF-16 and as a UTF-8 file, and
// the scripts.
struct Fixture {
  std::vector<std::string> words = lexora_bench::LoadWordList();
  std::u16string text;
  std::string path;
  std::unique_ptr<CompiledScript> scripts[2];

  Fixture() {
    LXInitialize();
    text = lexora_bench::GenerateText(words, kCorpusBytes);
    path = (std::filesystem::temp_directory_path() / "lexora_bench_corpus.txt").string();
    std::string utf8 = Utf16ToUtf8(text);
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(utf8.data(), 1, utf8.size(), f);
    std::fclose(f);
    scripts[0] = Compile(1000);
    scripts[1] = Compile(lexora_bench::LargestFittingScript(words));
  }
  std::unique_ptr<CompiledScript> Compile(size_t statements) {
    std::u16string script = lexora_bench::GenerateScript(words, statements);
    ILXStream* s = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
    Compilation c = CompileStream(s);
    s->Release();
    return std::move(c.script);
  }
  ILXStream* StringStream() const {
    return CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

// Builds the shared inputs before any timing starts.
const bool kPrepared = (Shared(), true);

void Finish(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Shared().text.size()));
}

void BM_Decode(benchmark::State& state) {
  char16_t buffer[4096];
  for (auto _ : state) {
    ILXStream* s = CreateFileStream(Shared().path.c_str());
    while (s->Read(buffer, 4096)) {
    }
    s->Release();
  }
  Finish(state);
}

void BM_Normalise(benchmark::State& state) {
  for (auto _ : state) {
    ILXStream* s = Shared().StringStream();
    {
      NormalizingReader reader(s, NormalizingReader::Mode::Plain);
      while (reader.Ensure(1)) reader.Advance();
    }
    s->Release();
  }
  Finish(state);
}

void BM_FindWords(benchmark::State& state) {
  const CompiledScript& script = *Shared().scripts[state.range(0)];
  std::array<WildcardStepper, 2> wildcards{WildcardStepper(script.words.folded),
                                           WildcardStepper(script.words.exact)};
  WordFinder::BlockTrial trial;
  for (auto _ : state) {
    ILXStream* s = Shared().StringStream();
    {
      NormalizingReader reader(s, NormalizingReader::Mode::Plain);
      WordFinder finder(script.words, reader, wildcards, trial);
      while (finder.Next() != WordKind::kEndOfInput) {
      }
    }
    s->Release();
  }
  Finish(state);
}

void BM_Analyse(benchmark::State& state) {
  const CompiledScript& script = *Shared().scripts[state.range(0)];
  WordPositionList positions;
  InputAnalyser analyser(script.words);  // as a runner keeps it from scan to scan
  for (auto _ : state) {
    positions.Reset(script.program.identifierCount());
    ILXStream* s = Shared().StringStream();
    analyser.Run(s, positions);
    s->Release();
  }
  Finish(state);
}

void BM_Execute(benchmark::State& state) {
  const CompiledScript& script = *Shared().scripts[state.range(0)];
  VirtualMachine machine(script.program);
  machine.Reset();
  ILXStream* s = Shared().StringStream();
  InputAnalyser(script.words).Run(s, machine.positions());
  s->Release();
  WordPositionList recorded = machine.positions();
  for (auto _ : state) {
    state.PauseTiming();
    machine.Reset();
    machine.positions() = recorded;
    state.ResumeTiming();
    machine.Execute(nullptr);
  }
  Finish(state);
}

void RunEndToEnd(benchmark::State& state, bool fromFile) {
  const CompiledScript& script = *Shared().scripts[state.range(0)];
  ILXScript* host = CreateLXScript();
  std::u16string source =
      lexora_bench::GenerateScript(Shared().words, script.program.statementCount());
  ILXStream* s = CreateStringStream(source.data(), static_cast<uint32_t>(source.size()));
  host->Compile(s);
  s->Release();
  ILXRunner* runner = host->CreateRunner();
  for (auto _ : state) {
    ILXStream* input = fromFile ? CreateFileStream(Shared().path.c_str()) : Shared().StringStream();
    if (!runner->Run(input)) state.SkipWithError("scan failed");
    input->Release();
  }
  state.counters["statements"] = script.program.statementCount();
  runner->Release();
  host->Release();
  Finish(state);
}

void BM_RunString(benchmark::State& state) {
  RunEndToEnd(state, false);
}
void BM_RunFile(benchmark::State& state) {
  RunEndToEnd(state, true);
}

// Argument 0: the 1,000-statement script; 1: the largest that fits.
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Normalise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindWords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Analyse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Execute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunString)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
