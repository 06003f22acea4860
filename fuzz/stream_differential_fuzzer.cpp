// The same input through a string stream and through a file stream of its
// UTF-16LE bytes with a byte-order mark must give the same hits.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace {

std::vector<uint32_t> Scan(ILXScript* script, ILXStream* stream) {
  std::vector<uint32_t> hits;
  ILXRunner* runner = script->CreateRunner();
  bool ok = stream && runner->Run(stream);
  hits.push_back(ok ? 1 : 0);
  for (uint32_t i = 0; ok && i < script->GetExpressionCount(); ++i) {
    uint32_t h = 0;
    runner->GetExpressionResult(i, &h, nullptr);
    hits.push_back(h);
  }
  runner->Release();
  if (stream) stream->Release();
  return hits;
}

}  // namespace

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
  static const std::string path = "/tmp/lexora_diff_" + std::to_string(getpid()) + ".txt";
  std::u16string text = lexora_fuzz::AsUtf16(data, size);
  // Lone surrogates do not survive a UTF-16 converter unchanged; keep the
  // comparison to text that both paths must read alike.
  for (char16_t& c : text) {
    if (c >= 0xD800 && c <= 0xDFFF) c = u'x';
  }
  // FF FE 00 00 is the UTF-32LE mark: a leading U+0000 cannot follow a
  // UTF-16LE mark unambiguously.
  if (!text.empty() && text[0] == 0) text[0] = u'x';
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite("\xFF\xFE", 1, 2, f);
  std::fwrite(text.data(), 2, text.size(), f);
  std::fclose(f);
  std::vector<uint32_t> fromString =
      Scan(script, CreateStringStream(text.data(), static_cast<uint32_t>(text.size())));
  std::vector<uint32_t> fromFile = Scan(script, CreateFileStream(path.c_str()));
  if (fromString != fromFile) __builtin_trap();
  return 0;
}
