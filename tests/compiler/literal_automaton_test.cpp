// The literal words of a word table, checked against a naive matcher over
// random word sets: which id a word is accepted as, in the folding and the
// exact table, and where the state limit falls.
#include "engine/compiler/literal_automaton.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"
#include "engine/compiler/word_table.h"
#include "test_support.h"
#include "word_matching.h"

using namespace Nimbra::Lexora;
using lexora_test::AcceptedIds;
using lexora_test::RandomString;

namespace {

// Letters whose simple case folds meet: K and the Kelvin sign fold to k,
// final and capital sigma to sigma.
constexpr std::u16string_view kLetters = u"abkK\u212A\u03A3\u03C3\u03C21";

std::u16string Folded(std::u16string_view word) {
  std::u16string folded(word);
  for (char16_t& unit : folded) unit = FoldUnit(unit);
  return folded;
}

// The naive matcher: the id added last under the word's key.
struct NaiveWords {
  bool exactCase;
  std::map<std::u16string, uint32_t> ids;

  std::u16string Key(std::u16string_view word) const {
    return exactCase ? std::u16string(word) : Folded(word);
  }
  void Add(std::u16string_view word, uint32_t id) { ids[Key(word)] = id; }
  std::vector<uint32_t> Accepted(std::u16string_view word) const {
    auto it = ids.find(Key(word));
    if (it == ids.end()) return {};
    return {it->second};
  }
};

// Words like the added ones and unlike them: each word, a case variant,
// its prefixes, an extension, and random strings.
std::vector<std::u16string> Probes(std::mt19937& random, const std::vector<std::u16string>& words) {
  std::vector<std::u16string> probes;
  for (const std::u16string& word : words) {
    probes.push_back(word);
    std::u16string variant = word;
    for (char16_t& unit : variant) {
      if (random() % 2) unit = kLetters[random() % kLetters.size()];
    }
    probes.push_back(variant);
    for (size_t n = 1; n < word.size(); ++n) probes.push_back(word.substr(0, n));
    probes.push_back(word + kLetters[random() % kLetters.size()]);
  }
  for (int i = 0; i < 20; ++i) probes.push_back(RandomString(random, kLetters, 1, 5));
  return probes;
}

void CheckRandomWordSets(bool exactCase) {
  lexora_test::Initialized library;
  std::mt19937 random(exactCase ? 17 : 4);
  for (int trial = 0; trial < 150; ++trial) {
    WordTable table(exactCase);
    NaiveWords naive{exactCase, {}};
    std::vector<std::u16string> words;
    size_t count = 1 + random() % 12;
    for (uint32_t i = 0; i < count; ++i) {
      words.push_back(RandomString(random, kLetters, 1, 5));
      uint32_t id = 1000 + i * 7;
      table.AddWord(words.back(), id);
      naive.Add(words.back(), id);
    }
    table.Build(std::nullopt);
    EXPECT_EQ(table.literal().wordCount(), naive.ids.size());
    EXPECT_FALSE(table.wildcardInUse());
    for (const std::u16string& probe : Probes(random, words)) {
      ASSERT_EQ(AcceptedIds(table, probe), naive.Accepted(probe))
          << "trial " << trial << ", probe " << lexora_test::U8(probe);
    }
  }
}

TEST(LiteralAutomatonTest, FoldingTableAcceptsEveryCaseOfAWordAsItsLastId) {
  CheckRandomWordSets(false);
}

TEST(LiteralAutomatonTest, ExactTableAcceptsOnlyTheWordAsWritten) {
  CheckRandomWordSets(true);
}

TEST(LiteralAutomatonTest, EscapesAreDroppedAndAnEmptyWordMatchesNothing) {
  lexora_test::Initialized library;
  WordTable table(false);
  table.AddWord(u"", 1);
  table.AddWord(u"\\a\\b", 2);
  table.Build(std::nullopt);
  EXPECT_EQ(AcceptedIds(table, u"ab"), std::vector<uint32_t>{2});
  EXPECT_EQ(AcceptedIds(table, u"a"), std::vector<uint32_t>{});
  EXPECT_EQ(table.literal().wordCount(), 1u);
}

// Every state of the literal automaton is a prefix of a word or a word's
// acceptance; the 32,767th state is refused, whatever word brings it.
TEST(LiteralAutomatonTest, ManyWordsReachTheStateLimit) {
  lexora_test::Initialized library;
  std::mt19937 random(99);
  std::set<std::u16string> prefixes;  // with the empty one, the start state
  std::vector<std::u16string> words;
  auto statesWith = [&](const std::u16string& word) {
    size_t added = 1;  // its acceptance
    for (size_t n = 1; n <= word.size(); ++n) added += !prefixes.contains(word.substr(0, n));
    return prefixes.size() + 1 + words.size() + added;
  };
  std::u16string next;
  for (;;) {
    do next = RandomString(random, u"abcdefghij", 4, 7);
    while (std::find(words.begin(), words.end(), next) != words.end());
    if (statesWith(next) > LiteralAutomaton::kStateLimit - 1) break;
    for (size_t n = 1; n <= next.size(); ++n) prefixes.insert(next.substr(0, n));
    words.push_back(next);
  }
  WordTable fits(true);
  WordTable tooBig(true);
  for (size_t i = 0; i < words.size(); ++i) {
    fits.AddWord(words[i], static_cast<uint32_t>(i));
    tooBig.AddWord(words[i], static_cast<uint32_t>(i));
  }
  tooBig.AddWord(next, 0);
  fits.Build(std::nullopt);
  EXPECT_LE(fits.literal().stateCount(), 32766u);
  EXPECT_EQ(AcceptedIds(fits, words.back()), std::vector<uint32_t>{uint32_t(words.size() - 1)});
  try {
    tooBig.Build(std::nullopt);
    FAIL() << "built " << words.size() + 1 << " words";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(std::u16string(e.what()), u"Script too big, exceeded maximum number of DFA states");
  }
}

}  // namespace
