#include "runtime/scan_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "engine/input/normalizing_reader.h"
#include "engine/runtime/input_analyser.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace lexora_test {

std::unique_ptr<CompiledScript> CompileOrFail(std::u16string_view script) {
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  Compilation c = CompileStream(stream);
  stream->Release();
  EXPECT_TRUE(c.errors.empty()) << (c.errors.empty() ? "" : U8(c.errors[0]));
  return std::move(c.script);
}

namespace {

// A stream over borrowed text that hands out a few units per read, so that
// the reader's chunks and buffer runs fall elsewhere.
class TrickleStream final : public ILXStream {
 public:
  TrickleStream(std::u16string_view text, uint32_t unitsPerRead)
      : text_(text), unitsPerRead_(unitsPerRead) {}
  void AddRef() override {}
  void Release() override {}
  uint32_t Read(char16_t* buffer, uint32_t count) override {
    size_t n = std::min<size_t>({count, unitsPerRead_, text_.size()});
    text_.copy(buffer, n);
    text_.remove_prefix(n);
    return static_cast<uint32_t>(n);
  }

 private:
  std::u16string_view text_;
  uint32_t unitsPerRead_;
};

}  // namespace

std::vector<std::vector<Span>> Analyse(const CompiledScript& script, std::u16string_view text,
                                       uint32_t unitsPerRead) {
  WordPositionList positions;
  positions.Reset(script.program.identifierCount());
  TrickleStream stream(text, unitsPerRead);
  InputAnalyser(script.words).Run(&stream, positions);
  std::vector<std::vector<Span>> spans;
  for (uint32_t id = 0; id < positions.fixedCount(); ++id) {
    auto s = positions.SpansOf(id);
    spans.emplace_back(s.begin(), s.end());
  }
  return spans;
}

std::vector<FoundWord> FindWords(const CompiledScript& script, std::u16string_view text,
                                 WordFinder::Method method, uint32_t unitsPerRead) {
  TrickleStream stream(text, unitsPerRead);
  NormalizingReader reader(&stream, NormalizingReader::Mode::Plain);
  std::array<WildcardStepper, 2> wildcards{WildcardStepper(script.words.folded),
                                           WildcardStepper(script.words.exact)};
  WordFinder finder(script.words, reader, wildcards, method);
  std::vector<FoundWord> words;
  for (WordKind kind = finder.Next(); kind != WordKind::kEndOfInput; kind = finder.Next()) {
    auto ids = finder.ids();
    words.push_back(
        {kind, finder.wordIndex(), {ids.begin(), ids.end()}, std::u16string(finder.text())});
  }
  return words;
}

std::vector<Span> SpansOf(std::u16string_view script, std::u16string_view text,
                          std::u16string_view item) {
  auto compiled = CompileOrFail(script);
  if (!compiled) return {};
  auto all = Analyse(*compiled, text);
  for (uint32_t id = 0; id < compiled->program.identifierCount(); ++id) {
    if (compiled->program.IdentifierText(id) == item) return all[id];
  }
  ADD_FAILURE() << "no identifier " << U8(item);
  return {};
}

}  // namespace lexora_test
