#include "bench/compare/word_lists.h"

#include <gtest/gtest.h>

namespace lexora_compare {
namespace {

Corpus CorpusOf(std::vector<std::string> texts) {
  Corpus corpus;
  for (std::string& t : texts) corpus.messages.push_back({"", std::move(t), true, u""});
  return corpus;
}

TEST(WordListsTest, CountsFoldedAsciiWordsOfFourLettersOrMore) {
  auto counts =
      CountWords(CorpusOf({"Mail MAIL mail the\nx-mailer: caf\xC3\xA9s word2word", "tail"}));
  EXPECT_EQ(counts["mail"], 3u);
  EXPECT_EQ(counts.count("the"), 0u);
  EXPECT_EQ(counts["mailer"], 1u);
  // Non-ASCII bytes and digits end a word.
  EXPECT_EQ(counts.count("cafs"), 0u);
  EXPECT_EQ(counts["word"], 2u);
  // A word at the very end of one message does not run into the next.
  EXPECT_EQ(counts["tail"], 1u);
}

TEST(WordListsTest, TakesTheMostFrequentThenSpreadsOverTheRestOfTheDictionary) {
  std::map<std::string, size_t> counts = {{"zeta", 5}, {"beta", 5}, {"alpha", 9}, {"gamma", 1}};
  std::vector<std::string> dictionary = {"alpha", "able", "bake", "beta", "cake", "dome", "echo"};
  WordLists lists = MakeWordLists(counts, dictionary, 3, 2);
  // Ties in alphabetical order.
  EXPECT_EQ(lists.common, (std::vector<std::string>{"alpha", "beta", "zeta", "able", "cake"}));
  EXPECT_EQ(lists.rare, (std::vector<std::string>{"able", "bake", "cake", "dome", "echo"}));
}

TEST(WordListsTest, SeldomWordsOccurButRarelyAndAreLongEnough) {
  std::map<std::string, size_t> counts = {{"abbey", 1}, {"abbot", 3}, {"abide", 4},
                                          {"able", 1},  {"cabin", 2}, {"daily", 1}};
  std::vector<std::string> dictionary = {"abbey", "abbot", "abide", "able",
                                         "about", "cabin", "daily"};
  // "abide" occurs too often, "able" is too short, "about" never occurs.
  EXPECT_EQ(SeldomWords(counts, dictionary, 10),
            (std::vector<std::string>{"abbey", "abbot", "cabin", "daily"}));
  EXPECT_EQ(SeldomWords(counts, dictionary, 2), (std::vector<std::string>{"abbey", "cabin"}));
}

TEST(WordListsTest, ShortListsGiveWhatThereIs) {
  WordLists lists = MakeWordLists({{"mail", 2}}, {"mail", "post"}, 500, 500);
  EXPECT_EQ(lists.common, (std::vector<std::string>{"mail", "post"}));
  EXPECT_TRUE(MakeWordLists({}, {}, 500, 500).common.empty());
}

}  // namespace
}  // namespace lexora_compare
