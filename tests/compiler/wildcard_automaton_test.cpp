// The wildcard patterns of a word table, checked against a naive matcher
// over random pattern sets: which ids a word is accepted as, in which
// order, in the folding and the exact table; and the number pattern.
#include "engine/compiler/wildcard_automaton.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"
#include "engine/compiler/word_table.h"
#include "test_support.h"
#include "word_matching.h"

using namespace Nimbra::Lexora;
using lexora_test::AcceptedIds;
using lexora_test::RandomString;
using Ids = std::vector<uint32_t>;

namespace {

// The naive matcher: a pattern element against a word position, by
// backtracking. Every unit of a probe is a word character, which * and ?
// take.
bool Matches(std::u16string_view pattern, std::u16string_view word, bool exactCase) {
  if (pattern.empty()) return word.empty();
  auto same = [&](char16_t a, char16_t b) {
    return exactCase ? a == b : FoldUnit(a) == FoldUnit(b);
  };
  if (pattern[0] == u'*') {
    for (size_t n = 0; n <= word.size(); ++n) {
      if (Matches(pattern.substr(1), word.substr(n), exactCase)) return true;
    }
    return false;
  }
  if (word.empty()) return false;
  if (pattern[0] == u'[') {
    size_t close = pattern.find(u']');
    std::u16string_view name = pattern.substr(1, close - 1);
    bool fits = name == u"DIGIT" ? IsDigitUnit(word[0]) : IsAlphaUnit(word[0]);
    return fits && Matches(pattern.substr(close + 1), word.substr(1), exactCase);
  }
  size_t width = pattern[0] == u'\\' ? 2 : 1;
  bool fits = pattern[0] == u'?' || same(pattern[width - 1], word[0]);
  return fits && Matches(pattern.substr(width), word.substr(1), exactCase);
}

std::u16string RandomPattern(std::mt19937& random) {
  static const std::u16string_view kElements[] = {
      u"a", u"b", u"B", u"k", u"\u212A", u"1", u"*", u"?", u"[DIGIT]", u"[LETTER]", u"\\a"};
  std::u16string pattern;
  size_t length = 1 + random() % 5;
  while (pattern.empty() || pattern.find_first_of(u"*?[") == std::u16string::npos) {
    for (size_t i = 0; i < length; ++i) pattern += kElements[random() % std::size(kElements)];
  }
  return pattern;
}

// Units in the patterns and units only a wildcard or a class takes.
constexpr std::u16string_view kProbeUnits = u"abBkK\u212A1\u0663xz";

void CheckRandomPatternSets(bool exactCase) {
  lexora_test::Initialized library;
  std::mt19937 random(exactCase ? 23 : 5);
  for (int trial = 0; trial < 150; ++trial) {
    WordTable table(exactCase);
    std::vector<std::u16string> patterns;
    size_t count = 1 + random() % 8;
    for (uint32_t i = 0; i < count; ++i) {
      patterns.push_back(RandomPattern(random));
      table.AddWord(patterns.back(), 100 + i);
    }
    table.Build(std::nullopt);
    EXPECT_TRUE(table.wildcardInUse());
    for (int p = 0; p < 60; ++p) {
      std::u16string probe = RandomString(random, kProbeUnits, 1, 6);
      Ids expected;
      for (uint32_t i = 0; i < count; ++i) {
        if (Matches(patterns[i], probe, exactCase)) expected.push_back(100 + i);
      }
      // The ids come in the order their patterns were added.
      ASSERT_EQ(AcceptedIds(table, probe), expected)
          << "trial " << trial << ", probe " << lexora_test::U8(probe);
    }
  }
}

TEST(WildcardAutomatonTest, FoldingTableMatchesPatternsInAnyCase) {
  CheckRandomPatternSets(false);
}

TEST(WildcardAutomatonTest, ExactTableMatchesPatternsAsWritten) {
  CheckRandomPatternSets(true);
}

// A word both tables' automata take is accepted as the literal word first,
// then as the patterns in the order they were added, the number pattern
// (built after them) last.
TEST(WildcardAutomatonTest, NumberPatternAcceptsDigitWordsLast) {
  lexora_test::Initialized library;
  WordTable table(false);
  table.AddWord(u"*", 1);
  table.AddWord(u"1?", 2);
  table.AddWord(u"12", 3);
  table.Build(9);
  EXPECT_EQ(AcceptedIds(table, u"12"), (Ids{3, 1, 2, 9}));
  EXPECT_EQ(AcceptedIds(table, u"\u0663\u0664"), (Ids{1, 9}));  // Arabic-Indic digits
  EXPECT_EQ(AcceptedIds(table, u"1a"), (Ids{1, 2}));
  EXPECT_EQ(AcceptedIds(table, u"a"), (Ids{1}));
  WordTable wordsOnly(false);
  wordsOnly.AddWord(u"007", 1);
  wordsOnly.Build(9);
  EXPECT_TRUE(wordsOnly.wildcardInUse());
  EXPECT_EQ(AcceptedIds(wordsOnly, u"007"), (Ids{1, 9}));
  EXPECT_EQ(AcceptedIds(wordsOnly, u"7"), (Ids{9}));
  EXPECT_EQ(AcceptedIds(wordsOnly, u"7x"), (Ids{}));
}

TEST(WildcardAutomatonTest, AnInlineClassMustBeClosed) {
  lexora_test::Initialized library;
  WordTable table(false);
  table.AddWord(u"a[DIGIT", 1);
  try {
    table.Build(std::nullopt);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(std::u16string(e.what()), u"Invalid inline class");
  }
}

}  // namespace
