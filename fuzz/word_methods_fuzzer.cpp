// Script x text -> every word the word finder returns, by its fast method,
// its general walk and its unit-by-unit step, with reads of a size the
// input chooses; all must agree word for word (index, kind, ids, text).
#include <cstdint>
#include <string>

#include "engine/language/script_compiler.h"
#include "fuzz/fuzz_support.h"
#include "tests/runtime/found_words.h"

using lexora_test::FindWords;
using Nimbra::Lexora::WordFinder;

// A script of case-folded literal words only, which the fast method serves.
const char16_t* const kWordsScript =
    u"offer OR cat OR at OR at&t OR don't OR e-mail OR the OR a OR caf\u00e9 OR \u0434\u0430\n"
    u"www.example OR x\u2010y OR co\u00ADoperate OR \u212a OR \u00df\n[MATCH=ALL] offer NEAR=3 "
    u"the\n";

// Input: one byte of read size, then UTF-16LE script and text separated by
// the first U+0000 (without one, the script above over the whole input).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lexora_fuzz::Library library;
  if (size < 1) return 0;
  const uint32_t unitsPerRead = data[0] % 130 + 1;
  std::u16string input = lexora_fuzz::AsUtf16(data + 1, size - 1);
  size_t split = input.find(u'\0');
  std::u16string script = split == std::u16string::npos ? kWordsScript : input.substr(0, split);
  std::u16string text = split == std::u16string::npos ? input : input.substr(split + 1);
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  Nimbra::Lexora::Compilation compiled = Nimbra::Lexora::CompileStream(stream);
  stream->Release();
  if (!compiled.errors.empty() || !compiled.script) return 0;
  const auto reference =
      FindWords(*compiled.script, text, WordFinder::Method::kPerUnit, unitsPerRead);
  for (auto method : {WordFinder::Method::kFast, WordFinder::Method::kGeneral}) {
    if (FindWords(*compiled.script, text, method, unitsPerRead) != reference) __builtin_trap();
  }
  return 0;
}
