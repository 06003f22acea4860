// A fixed rich script x input text -> Run, GetReport, GetExpressionResult.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lexora_fuzz::Library library;
  static ILXScript* script = [] {
    ILXScript* s = CreateLXScript();
    std::u16string rules = lexora_fuzz::RichScript();
    ILXStream* stream = CreateStringStream(rules.data(), static_cast<uint32_t>(rules.size()));
    if (!s->Compile(stream)) __builtin_trap();
    stream->Release();
    return s;
  }();
  std::u16string text = lexora_fuzz::AsUtf16(data, size);
  ILXRunner* runner = script->CreateRunner();
  ILXStream* stream = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
  runner->Run(stream);
  runner->GetReport(false);
  runner->GetReport(true);
  runner->GetScore();
  for (uint32_t i = 0; i <= script->GetExpressionCount(); ++i) {
    uint32_t hits;
    int32_t score;
    runner->GetExpressionResult(i, &hits, &score);
  }
  stream->Release();
  runner->Release();
  return 0;
}
