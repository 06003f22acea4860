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
