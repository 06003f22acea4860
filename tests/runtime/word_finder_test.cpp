#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/scan_support.h"
#include "test_support.h"

using namespace lexora_test;
using Nimbra::Lexora::Span;
using Spans = std::vector<Span>;

namespace {

TEST(WordFinderTest, JoinersHyphensAndDashes) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"don't", u"I don't know", u"don't"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(u"e-mail", u"send e-mail now", u"e-mail"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(u"word", u"a 'word' here", u"word"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(u"1 OR 2", u"1-2", u"2"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(u"a", u"x\u2013a", u"a"), (Spans{{2, 2}}));  // an en dash separates
  EXPECT_EQ(SpansOf(u"x\u20101", u"x\u20101", u"x\u20101"),
            (Spans{{1, 1}}));  // U+2010 always joins
}

TEST(WordFinderTest, SoftHyphensAndCompatibilityForms) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"cooperate", u"we co\u00ADoperate", u"cooperate"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(u"offer", u"\uFF2F\uFF26\uFF26\uFF25\uFF32!", u"offer"), (Spans{{1, 1}}));
  EXPECT_EQ(SpansOf(u"cafe\u0301", u"caf\u00e9", u"cafe\u0301"), (Spans{{1, 1}}));
}

TEST(WordFinderTest, IdeographsAreWordsOfTheirOwn) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"\u6587", u"\u4e2d\u6587\u5b57", u"\u6587"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(u"x", u"ab\u4e2dx", u"x"), (Spans{{3, 3}}));
  EXPECT_EQ(SpansOf(u"*", u"\u4e2d\u6587", u"*"), (Spans{{1, 1}, {2, 2}}));
}

TEST(WordFinderTest, LiteralsFollowSeparatorsTheyContain) {
  Initialized library;
  const char16_t* script = u"at OR at&t";
  EXPECT_EQ(SpansOf(script, u"call at&t now", u"at&t"), (Spans{{2, 2}}));
  EXPECT_EQ(SpansOf(script, u"call at&t now", u"at"), Spans{});
  EXPECT_EQ(SpansOf(script, u"call at&x now", u"at"), Spans{});
  EXPECT_EQ(SpansOf(script, u"at home", u"at"), (Spans{{1, 1}}));
}

TEST(WordFinderTest, QuotedAndUnquotedFormsOfOneWordBothMatch) {
  Initialized library;
  auto script = CompileOrFail(u"cat AND \"Cat\"");
  auto spans = Analyse(*script, u"Cat cat CAT");
  EXPECT_EQ(spans[0], (Spans{{1, 1}, {2, 2}, {3, 3}}));  // cat, any case
  EXPECT_EQ(spans[1], (Spans{{1, 1}}));                  // "Cat", exact
}

TEST(WordFinderTest, LoneStarMatchesEachWordOnceAndEnds) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"*", u"  one,  two...three  ", u"*"), (Spans{{1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(SpansOf(u"*", u"", u"*"), Spans{});
  EXPECT_EQ(SpansOf(u"*", u" ,;. ", u"*"), Spans{});
  EXPECT_EQ(SpansOf(u"*s", u"cats dog pets", u"*s"), (Spans{{1, 1}, {3, 3}}));
}

TEST(WordFinderTest, NumbersAndPatterns) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"x OR [NUM]", u"12345 12a 7", u"NUM"), (Spans{{1, 1}, {3, 3}}));
  EXPECT_EQ(SpansOf(u"* OR [NUM]", u"123 abc", u"NUM"), (Spans{{1, 1}}));
  EXPECT_EQ(SpansOf(u"c?t", u"cat ct cart", u"c?t"), (Spans{{1, 1}}));
  EXPECT_EQ(SpansOf(u"[] [DIGIT][LETTER]*", u"1a 1 a1 2bcd", u"[DIGIT][LETTER]*"),
            (Spans{{1, 1}, {4, 4}}));
}

TEST(WordFinderTest, EveryWordCountsForTheIndex) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"dog", u"the quick brown fox jumps over the lazy dog", u"dog"),
            (Spans{{9, 9}}));
  EXPECT_EQ(SpansOf(u"dog", u"a-b c's dog", u"dog"), (Spans{{3, 3}}));
  // Dead words of every length about the eight units the finder passes over
  // at a time, some with a unit beyond Latin-1 inside.
  std::u16string text;
  for (size_t length = 1; length <= 20; ++length) {
    std::u16string word(length, u'x');
    if (length % 3 == 0) word[length / 2] = u'\u0436';
    text += word + (length % 2 ? u" " : u", ");
  }
  EXPECT_EQ(SpansOf(u"dog", text + u"dog", u"dog"), (Spans{{21, 21}}));
}

TEST(WordFinderTest, LongWordsAndTexts) {
  Initialized library;
  auto script = CompileOrFail(u"* OR word");
  std::u16string text = std::u16string(5000, u'a') + u" word";
  auto spans = Analyse(*script, text);
  EXPECT_EQ(spans[0], (Spans{{1, 1}, {2, 2}}));
  EXPECT_EQ(spans[1], (Spans{{2, 2}}));
  // A word far longer than any buffer, then a matching word.
  std::u16string huge(3'000'000, u'b');
  EXPECT_EQ(Analyse(*script, huge + u" word")[1], (Spans{{2, 2}}));
}

TEST(WordFinderTest, AMarkHeldAcrossAHugeWordIsGivenUp) {
  Initialized library;
  // After "x." a star pattern may run on; the attempt holds a mark.
  auto script = CompileOrFail(u"x.* OR y");
  std::u16string text = u"x." + std::u16string(2'000'000, u'q') + u" y";
  auto spans = Analyse(*script, text);
  EXPECT_EQ(spans[1], (Spans{{3, 3}}));
}

}  // namespace

// Wildcard patterns over more distinct characters than the stepper keeps
// input classes for: the cache is flushed on the way and matching goes on
// unchanged.
TEST(WordFinderTest, WildcardsOverManyCharactersSurviveCacheFlushes) {
  Initialized library;
  std::u16string alphabet;
  for (char16_t c = u'a'; c <= u'z'; ++c) alphabet += c;
  for (char16_t c = 0x0430; c <= 0x044F; ++c) alphabet += c;  // Cyrillic
  for (char16_t c = 0x03B1; c <= 0x03C9; ++c) {
    if (c != 0x03C2) alphabet += c;  // Greek, without the final sigma
  }
  for (char16_t c = 0x0561; c <= 0x0586; ++c) alphabet += c;  // Armenian
  for (char16_t c = 0x10D0; c <= 0x10F0; ++c) alphabet += c;  // Georgian
  ASSERT_GT(alphabet.size(), 150u);
  std::u16string script, text;
  for (char16_t c : alphabet) {
    script += std::u16string{c, u'*', u'\n'};
    text += std::u16string{c, c, u' '};
  }
  text += text;
  const uint32_t n = static_cast<uint32_t>(alphabet.size());
  EXPECT_EQ(SpansOf(script, text, u"a*"), (Spans{{1, 1}, {n + 1, n + 1}}));
  std::u16string last{alphabet.back(), u'*'};
  EXPECT_EQ(SpansOf(script, text, last), (Spans{{n, n}, {2 * n, 2 * n}}));
  // The same flush inside one word, whose walk holds the stepper's set
  // across it: the word still ends in an acceptance.
  std::u16string word = alphabet + alphabet;
  EXPECT_EQ(SpansOf(script, u"x " + word + u" y", u"a*"), (Spans{{2, 2}}));
}

// The word finder walks the reader's buffer a run at a time, and the reader
// normalises a chunk at a time; where the stream's reads end must change no
// match. Random text over the units each path treats apart: letters, digits,
// separators inside and outside the alphabets, joiners, soft hyphens,
// ideographs, combining and compatibility characters.
TEST(WordFinderTest, WhereReadsEndChangesNoMatch) {
  Initialized library;
  auto script = CompileOrFail(
      u"at OR at&t OR \"at & t\" OR \"Cat\" OR cat OR don't OR e-mail OR caf\u00e9 OR $100\n"
      u"[MATCH=ALL] a* OR *ing OR x?z OR [NUM] OR www.* OR \u6587 OR the [NUM]\n"
      u"[MATCH=ALL] [CCARD] OR [US-SSN] OR card [CCARD] OR \"cat at\"\n");
  ASSERT_TRUE(script);
  const std::u16string units =
      u"aacdeeiinnorsttwxyzACT  &&$.'-\u2010\u2013\u00ad0123456789\n\u00e9\u0301\u6587\uff41\ufb01";
  std::mt19937 random(11);
  for (int round = 0; round < 40; ++round) {
    std::u16string text;
    for (size_t n = random() % 3000; n > 0; --n) text += units[random() % units.size()];
    auto whole = Analyse(*script, text);
    for (uint32_t unitsPerRead : {1u, 2u, 5u, 127u}) {
      EXPECT_EQ(Analyse(*script, text, unitsPerRead), whole)
          << "round " << round << ", " << unitsPerRead << " units per read";
    }
  }
}
