// Script x text -> every word the word finder returns, by its fast method
// and by its general walk, with reads of a size the input chooses; the two
// must agree word for word (index, kind, ids, text).
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/input/normalizing_reader.h"
#include "engine/language/script_compiler.h"
#include "engine/runtime/word_finder.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace Nimbra::Lexora;

class ChunkedStream final : public ILXStream {
 public:
  ChunkedStream(std::u16string_view text, uint32_t unitsPerRead)
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

struct Word {
  WordKind kind;
  uint32_t index;
  std::vector<uint32_t> ids;
  std::u16string text;
  bool operator==(const Word&) const = default;
};

std::vector<Word> FindWords(const CompiledScript& script, std::u16string_view text,
                            WordFinder::Method method, uint32_t unitsPerRead) {
  ChunkedStream stream(text, unitsPerRead);
  NormalizingReader reader(&stream, NormalizingReader::Mode::Plain);
  std::array<WildcardStepper, 2> wildcards{WildcardStepper(script.words.folded),
                                           WildcardStepper(script.words.exact)};
  WordFinder finder(script.words, reader, wildcards, method);
  std::vector<Word> words;
  for (WordKind kind = finder.Next(); kind != WordKind::kEndOfInput; kind = finder.Next()) {
    auto ids = finder.ids();
    words.push_back(
        {kind, finder.wordIndex(), {ids.begin(), ids.end()}, std::u16string(finder.text())});
  }
  return words;
}

}  // namespace

// A script of case-folded literal words only, which the fast method serves.
const char16_t* const kWordsScript =
    u"offer OR cat OR at OR at&t OR don't OR e-mail OR the OR a OR caf\u00e9 OR \u0434\u0430\n"
    u"www.example OR x\u2010y OR co\u00ADoperate OR \u212a OR \u00df\n[MATCH=ALL] offer NEAR=3 the\n";

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
  Compilation compiled = CompileStream(stream);
  stream->Release();
  if (!compiled.errors.empty() || !compiled.script) return 0;
  if (FindWords(*compiled.script, text, WordFinder::Method::kFast, unitsPerRead) !=
      FindWords(*compiled.script, text, WordFinder::Method::kGeneral, unitsPerRead)) {
    __builtin_trap();
  }
  return 0;
}
