#include "bench/compare/word_lists.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace lexora_compare {
namespace {

// `count` of the words (or all there are), evenly apart in their order.
std::vector<std::string> SpreadEvenly(const std::vector<std::string>& words, size_t count) {
  size_t pick = std::min(count, words.size());
  std::vector<std::string> spread;
  for (size_t i = 0; i < pick; ++i) spread.push_back(words[i * words.size() / pick]);
  return spread;
}

}  // namespace

std::map<std::string, size_t> CountWords(const Corpus& corpus) {
  std::map<std::string, size_t> counts;
  std::string word;
  auto finish = [&] {
    if (word.size() >= 4) ++counts[word];
    word.clear();
  };
  for (const Message& m : corpus.messages) {
    for (char c : m.bytes) {
      // Bytes above 0x7F end a word: the list must mean the same whatever
      // the message's charset.
      auto u = static_cast<unsigned char>(c);
      if (u < 0x80 && std::isalpha(u)) {
        word += static_cast<char>(std::tolower(u));
      } else {
        finish();
      }
    }
    finish();
  }
  return counts;
}

WordLists MakeWordLists(const std::map<std::string, size_t>& counts,
                        const std::vector<std::string>& dictionary, size_t frequent,
                        size_t fromDictionary) {
  std::vector<std::pair<std::string, size_t>> ranked(counts.begin(), counts.end());
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  WordLists lists;
  std::set<std::string> taken;
  for (size_t i = 0; i < ranked.size() && i < frequent; ++i) {
    lists.common.push_back(ranked[i].first);
    taken.insert(ranked[i].first);
  }
  std::vector<std::string> rest;
  for (const std::string& w : dictionary) {
    if (!taken.count(w)) rest.push_back(w);
    if (!counts.count(w)) lists.rare.push_back(w);
  }
  for (std::string& w : SpreadEvenly(rest, fromDictionary)) lists.common.push_back(std::move(w));
  return lists;
}

std::vector<std::string> SeldomWords(const std::map<std::string, size_t>& counts,
                                     const std::vector<std::string>& dictionary, size_t count) {
  std::vector<std::string> seldom;
  for (const std::string& w : dictionary) {
    auto found = counts.find(w);
    if (w.size() >= 5 && found != counts.end() && found->second <= kSeldomMost) {
      seldom.push_back(w);
    }
  }
  return SpreadEvenly(seldom, count);
}

}  // namespace lexora_compare
