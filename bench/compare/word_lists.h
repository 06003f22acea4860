// Word lists for the generated scripts, drawn from the corpus and the
// dictionary.
#ifndef LEXORA_BENCH_COMPARE_WORD_LISTS_H
#define LEXORA_BENCH_COMPARE_WORD_LISTS_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "bench/compare/corpus.h"

namespace lexora_compare {

struct WordLists {
  // The corpus' most frequent words, then dictionary words not among them.
  std::vector<std::string> common;
  // Dictionary words that never occur in the corpus.
  std::vector<std::string> rare;
};

// Occurrences of each alphabetic ASCII word of four letters or more, folded
// to lower case.
std::map<std::string, size_t> CountWords(const Corpus& corpus);

// `frequent` of the most frequent corpus words (ties in alphabetical order)
// plus `fromDictionary` dictionary words spread evenly over the rest of the
// dictionary, which is taken to be lower-case, alphabetic and sorted.
WordLists MakeWordLists(const std::map<std::string, size_t>& counts,
                        const std::vector<std::string>& dictionary, size_t frequent,
                        size_t fromDictionary);

// Dictionary words of five letters or more that occur in the corpus, but at
// most kSeldomMost times: `count` of them spread evenly over the dictionary.
inline constexpr size_t kSeldomMost = 3;
std::vector<std::string> SeldomWords(const std::map<std::string, size_t>& counts,
                                     const std::vector<std::string>& dictionary, size_t count);

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_WORD_LISTS_H
