#include "engine/compiler/word_table.h"

#include <gtest/gtest.h>

#include "engine/base/exceptions.h"
#include "engine/compiler/sequence_table.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

std::u16string MessageOf(WordTable& table) {
  try {
    table.Build(std::nullopt);
  } catch (const LXException& e) {
    return e.what();
  }
  return u"(built)";
}

TEST(WordTableTest, FoldingTableSharesAcceptingStates) {
  lexora_test::Initialized library;
  WordTable folded(false);
  folded.AddWord(u"Offer", 1);
  folded.AddWord(u"offer", 2);
  folded.Build(std::nullopt);
  EXPECT_EQ(folded.literal().wordCount(), 1u);
  WordTable exact(true);
  exact.AddWord(u"Offer", 1);
  exact.AddWord(u"offer", 2);
  exact.Build(std::nullopt);
  EXPECT_EQ(exact.literal().wordCount(), 2u);
}

// The word finder reads a text unit's column and whether it has one through
// the table, before folding: every unit that folds into the alphabet (the
// Kelvin sign folds to k) has the column of its folded form.
TEST(WordTableTest, TextUnitsFindTheColumnsOfTheirFoldedForms) {
  lexora_test::Initialized library;
  WordTable folded(false);
  folded.AddWord(u"Kit\u00e9", 1);
  folded.Build(std::nullopt);
  const int16_t k = folded.literal().ColumnOf(u'k');
  ASSERT_GE(k, 0);
  for (char16_t unit : {u'k', u'K', char16_t{0x212A}}) {
    EXPECT_TRUE(folded.HasColumn(unit)) << int(unit);
    EXPECT_EQ(folded.LiteralColumnOf(unit), k) << int(unit);
  }
  EXPECT_EQ(folded.LiteralColumnOf(0x00C9), folded.literal().ColumnOf(0x00E9));  // É, é
  for (char16_t unit : {u'x', u' ', char16_t{0x4E2D}}) {
    EXPECT_FALSE(folded.HasColumn(unit)) << int(unit);
    EXPECT_LT(folded.LiteralColumnOf(unit), 0) << int(unit);
  }
  WordTable exact(true);
  exact.AddWord(u"Kit", 1);
  exact.Build(std::nullopt);
  EXPECT_TRUE(exact.HasColumn(u'K'));
  EXPECT_FALSE(exact.HasColumn(u'k'));
  EXPECT_FALSE(exact.HasColumn(0x212A));
  EXPECT_LT(exact.LiteralColumnOf(u'k'), 0);
}

TEST(WordTableTest, EscapedStarIsLiteralAndPercentIsOrdinary) {
  lexora_test::Initialized library;
  WordTable table(false);
  table.AddWord(u"c\\*t", 1);
  table.AddWord(u"50%", 2);
  table.Build(std::nullopt);
  EXPECT_EQ(table.literal().wordCount(), 2u);
  EXPECT_FALSE(table.wildcardInUse());
  EXPECT_NE(table.alphabet().find(u'*'), std::u16string::npos);
}

TEST(WordTableTest, WildcardPatternsEndInFinalStatesOfTheirOwn) {
  lexora_test::Initialized library;
  WordTable table(false);
  table.AddWord(u"a*b", 1);
  table.AddWord(u"a*c", 2);
  table.Build(std::nullopt);
  uint32_t finals = 0;
  for (uint16_t s = 0; s < table.wildcard().stateCount(); ++s) {
    if (table.wildcard().IsFinal(s)) {
      ++finals;
      EXPECT_NE(table.WildcardWord(s), WordTable::kNoWord);
    }
  }
  EXPECT_EQ(finals, 2u);
}

TEST(WordTableTest, InlineClasses) {
  lexora_test::Initialized library;
  WordTable ok(false);
  ok.AddWord(u"[LETTER][DIGIT]", 1);
  EXPECT_EQ(MessageOf(ok), u"(built)");
  for (const char16_t* bad : {u"x[CCARD]", u"[NUM]", u"[digit]", u"[US-SSN]y", u"[FOO]"}) {
    WordTable table(false);
    table.AddWord(bad, 1);
    EXPECT_EQ(MessageOf(table), u"Invalid inline class") << lexora_test::U8(bad);
  }
}

TEST(WordTableTest, NumberPatternWithAStarFirst) {
  lexora_test::Initialized library;
  WordTable table(false);
  table.AddWord(u"*x", 1);
  table.Build(7);
  EXPECT_TRUE(table.wildcardInUse());
}

TEST(WordTableTest, StateLimits) {
  lexora_test::Initialized library;
  // One literal word of n characters needs n + 2 states.
  WordTable fits(false);
  fits.AddWord(std::u16string(32764, u'a'), 1);
  EXPECT_EQ(MessageOf(fits), u"(built)");
  EXPECT_EQ(fits.literal().stateCount(), 32766u);
  WordTable tooBig(false);
  tooBig.AddWord(std::u16string(32765, u'a'), 1);
  EXPECT_EQ(MessageOf(tooBig), u"Script too big, exceeded maximum number of DFA states");
  // k question marks need 2k + 2 states.
  WordTable wildFits(false);
  wildFits.AddWord(std::u16string(16382, u'?'), 1);
  EXPECT_EQ(MessageOf(wildFits), u"(built)");
  WordTable wildTooBig(false);
  wildTooBig.AddWord(std::u16string(16383, u'?'), 1);
  EXPECT_EQ(MessageOf(wildTooBig), u"Script too big, exceeded maximum number of NFA states");
}

TEST(SequenceTableTest, SharedPrefixesAndOneIdPerPhrase) {
  SequenceTable table;
  uint16_t ab = table.Step(table.Step(0, 1), 2);
  uint16_t abc = table.Step(ab, 3);
  uint16_t abd = table.Step(table.Step(table.Step(0, 1), 2), 4);
  EXPECT_EQ(table.stateCount(), 5u);
  EXPECT_NE(abc, abd);
  auto first = table.Register(abc, 3, u"a b c", 10);
  auto again = table.Register(abc, 3, u"a b c", 11);
  EXPECT_TRUE(first.added);
  EXPECT_FALSE(again.added);
  EXPECT_EQ(again.id, 10u);
  EXPECT_EQ(table.phrases().size(), 1u);
  EXPECT_EQ(table.Register(table.Step(0, 9), 1, u"z", 12).id, 12u);
}

TEST(SequenceTableTest, Limits) {
  SequenceTable table;
  table.Step(0, 32762);
  try {
    table.Step(0, 32763);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(std::u16string(e.what()), u"Exceeded maximum limit of id's for sequences");
  }
  SequenceTable chain;
  uint16_t state = 0;
  for (int i = 0; i < 32765; ++i) state = chain.Step(state, 1);
  try {
    chain.Step(state, 1);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(std::u16string(e.what()),
              u"Script too big, exceeded maximum number of sequence states");
  }
}

}  // namespace
