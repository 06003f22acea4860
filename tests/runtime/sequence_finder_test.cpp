#include <gtest/gtest.h>

#include "runtime/scan_support.h"
#include "test_support.h"

using namespace lexora_test;
using Nimbra::Lexora::Span;
using Spans = std::vector<Span>;

namespace {

TEST(SequenceFinderTest, PhrasesNeedAdjacentWords) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"a b", u"a b", u"a b"), (Spans{{1, 2}}));
  EXPECT_EQ(SpansOf(u"a b", u"a x b", u"a b"), Spans{});
  EXPECT_EQ(SpansOf(u"a b", u"a a b", u"a b"), (Spans{{2, 3}}));
  EXPECT_EQ(SpansOf(u"a b c", u"a b a b c", u"a b c"), (Spans{{3, 5}}));
  EXPECT_EQ(SpansOf(u"\"Free gift\"", u"free gift. Free gift", u"Free gift"), (Spans{{3, 4}}));
}

TEST(SequenceFinderTest, AWordWithTwoIdsAdvancesBoth) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"gift card OR gi* card", u"gift card", u"gi* card"), (Spans{{1, 2}}));
  EXPECT_EQ(SpansOf(u"gift card OR gi* card", u"gift card", u"gift card"), (Spans{{1, 2}}));
}

TEST(SequenceFinderTest, ClassRunsAndPhrasesEndingInThem) {
  Initialized library;
  EXPECT_EQ(SpansOf(u"x OR [CCARD]", u"pay 4111 1111 1111 1111 now", u"CCARD"), (Spans{{2, 5}}));
  EXPECT_EQ(SpansOf(u"card [CCARD]", u"card 4111 1111 1111 1111", u"card CCARD"), (Spans{{1, 5}}));
  EXPECT_EQ(SpansOf(u"card [CCARD] expires", u"card 4111-1111-1111-1111 expires soon",
                    u"card CCARD expires"),
            (Spans{{1, 6}}));
  EXPECT_EQ(SpansOf(u"ssn [US-SSN]", u"ssn 123-45-6789", u"ssn US-SSN"), (Spans{{1, 4}}));
  // A phrase waits for a run only on the word right after its last element.
  EXPECT_EQ(SpansOf(u"card [CCARD]", u"card no 4111 1111 1111 1111", u"card CCARD"), Spans{});
}

TEST(SequenceFinderTest, LongNumberRunsStayBounded) {
  Initialized library;
  std::u16string text;
  for (int i = 0; i < 200000; ++i) text += u"1 ";
  EXPECT_EQ(SpansOf(u"[] [CCARD] x", text, u"CCARD x"), Spans{});
}

}  // namespace

// Words past the highest id a phrase may hold still scan: they extend no
// phrase, and the rest of the text keeps its results.
TEST(SequenceFinderTest, IdsBeyondThePhraseKeysAreNoTransition) {
  Initialized library;
  const std::u16string letters = u"abcdefghijklmnopqrstuvwxyz", more = letters + u"0123456789";
  std::u16string script;
  auto word = [&](size_t n) {
    return std::u16string{letters[n / 1296 % 26], more[n / 36 % 36], more[n % 36]};
  };
  for (size_t n = 0; n < 15000; ++n) script += word(n) + u"\n\"" + word(n) + u"\"\n";
  for (size_t n = 15000; n < 17800; ++n) script += word(n) + u"?\n";
  script += u"aaa aab\nzzzzz\n";
  std::u16string text = u"aaa aab zzzzz aaa aab";
  EXPECT_EQ(SpansOf(script, text, u"aaa aab"), (Spans{{1, 2}, {4, 5}}));
  EXPECT_EQ(SpansOf(script, text, u"zzzzz"), (Spans{{3, 3}}));
}
