// Every word the word finder returns for a text, read a few units at a time;
// shared by the tests and the word-method fuzz target, which hold the
// finder's methods to each other.
#ifndef LEXORA_TESTS_RUNTIME_FOUND_WORDS_H
#define LEXORA_TESTS_RUNTIME_FOUND_WORDS_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compiler/compiled_script.h"
#include "engine/input/normalizing_reader.h"
#include "engine/runtime/word_finder.h"
#include "lexora2/lexora2.h"

namespace lexora_test {

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

// One word the word finder returned.
struct FoundWord {
  Nimbra::Lexora::WordKind kind;
  uint32_t index;
  std::vector<uint32_t> ids;
  std::u16string text;
  bool operator==(const FoundWord&) const = default;
};

inline std::vector<FoundWord> FindWords(const Nimbra::Lexora::CompiledScript& script,
                                        std::u16string_view text,
                                        Nimbra::Lexora::WordFinder::Method method,
                                        uint32_t unitsPerRead = UINT32_MAX) {
  using namespace Nimbra::Lexora;
  TrickleStream stream(text, unitsPerRead);
  NormalizingReader reader(&stream, NormalizingReader::Mode::Plain);
  std::array<WildcardStepper, 2> wildcards{WildcardStepper(script.words.folded),
                                           WildcardStepper(script.words.exact)};
  WordFinder::BlockTrial trial;
  WordFinder finder(script.words, reader, wildcards, trial, method);
  std::vector<FoundWord> words;
  for (WordKind kind = finder.Next(); kind != WordKind::kEndOfInput; kind = finder.Next()) {
    auto ids = finder.ids();
    words.push_back(
        {kind, finder.wordIndex(), {ids.begin(), ids.end()}, std::u16string(finder.text())});
  }
  return words;
}

}  // namespace lexora_test

#endif  // LEXORA_TESTS_RUNTIME_FOUND_WORDS_H
