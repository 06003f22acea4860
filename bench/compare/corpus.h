// The mail corpus: every message's path and bytes, and the UTF-16 text a file
// stream would deliver for it (UTF-8 when the bytes are valid UTF-8, else
// ISO-8859-1).
#ifndef LEXORA_BENCH_COMPARE_CORPUS_H
#define LEXORA_BENCH_COMPARE_CORPUS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lexora_compare {

struct Message {
  std::string path;
  std::string bytes;
  bool utf8 = false;
  std::u16string text;
};

struct Corpus {
  std::vector<Message> messages;
  size_t bytes = 0;
};

// The messages `directory`/*/*.txt in path order; with `stride` > 1 only every
// stride-th one. Throws std::runtime_error when none can be read.
Corpus LoadCorpus(const std::string& directory, size_t stride);

bool IsValidUtf8(std::string_view bytes);

// Decodes with ICU's converter for `charset`; throws std::runtime_error when
// the converter cannot be opened.
std::u16string Decode(std::string_view bytes, const char* charset);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_CORPUS_H
