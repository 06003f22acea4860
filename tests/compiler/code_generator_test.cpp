// Registration under one numbering, and what the linked word tables then
// accept: unquoted items fold case into the first table, quoted ones keep
// it in the second; checked over random registrations against a naive
// model, and for classes and sequences.
#include "engine/compiler/code_generator.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "engine/base/char_classes.h"
#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"
#include "test_support.h"
#include "word_matching.h"

using namespace Nimbra::Lexora;
using lexora_test::AcceptedIds;
using lexora_test::RandomString;
using Ids = std::vector<uint32_t>;

namespace {

std::u16string Folded(std::u16string text) {
  for (char16_t& unit : text) unit = FoldUnit(unit);
  return text;
}

TEST(CodeGeneratorTest, RandomWordsShareIdentifiersAndReachTheirTables) {
  lexora_test::Initialized library;
  constexpr std::u16string_view kUnits = u"abAB\u03A3\u03C2";
  std::mt19937 random(12);
  for (int trial = 0; trial < 100; ++trial) {
    CompiledScript script;
    CodeGenerator generator(script);
    std::map<std::u16string, uint32_t> unquoted, quoted;  // by folded, by exact text
    uint32_t nextId = 0;
    for (int n = 1 + random() % 15; n > 0; --n) {
      std::u16string word = RandomString(random, kUnits, 1, 3);
      bool isQuoted = random() % 2;
      uint32_t id =
          isQuoted ? generator.RegisterQuotedWord(word) : generator.RegisterUnquotedWord(word);
      auto [it, added] =
          (isQuoted ? quoted : unquoted).emplace(isQuoted ? word : Folded(word), nextId);
      if (added) {
        EXPECT_EQ(script.program.IdentifierText(nextId), word);
        ++nextId;
      }
      ASSERT_EQ(id, it->second) << lexora_test::U8(word);
    }
    EXPECT_EQ(script.program.identifierCount(), nextId);
    generator.Link();
    for (int p = 0; p < 30; ++p) {
      std::u16string probe = RandomString(random, kUnits, 1, 3);
      auto folded = unquoted.find(Folded(probe));
      auto exact = quoted.find(probe);
      EXPECT_EQ(AcceptedIds(script.words.folded, probe),
                folded == unquoted.end() ? Ids{} : Ids{folded->second});
      EXPECT_EQ(AcceptedIds(script.words.exact, probe),
                exact == quoted.end() ? Ids{} : Ids{exact->second});
    }
  }
}

// Unquoted patterns are told apart after lowering A to Z only; both forms
// of a pattern that folds alike still match in the folding table.
TEST(CodeGeneratorTest, UnquotedPatternsLowerOnlyBasicLatin) {
  lexora_test::Initialized library;
  CompiledScript script;
  CodeGenerator generator(script);
  uint32_t lower = generator.RegisterUnquotedPattern(u"c*t");
  EXPECT_EQ(generator.RegisterUnquotedPattern(u"C*T"), lower);
  uint32_t small = generator.RegisterUnquotedPattern(u"\u00e9?");
  uint32_t capital = generator.RegisterUnquotedPattern(u"\u00c9?");
  EXPECT_NE(small, capital);
  uint32_t quoted = generator.RegisterQuotedPattern(u"C*T");
  EXPECT_NE(quoted, lower);
  EXPECT_EQ(generator.RegisterQuotedPattern(u"C*T"), quoted);
  uint32_t quotedLower = generator.RegisterQuotedPattern(u"c*t");
  EXPECT_NE(quotedLower, quoted);
  generator.Link();
  EXPECT_EQ(AcceptedIds(script.words.folded, u"COAT"), Ids{lower});
  EXPECT_EQ(AcceptedIds(script.words.folded, u"\u00c9x"), (Ids{small, capital}));
  EXPECT_EQ(AcceptedIds(script.words.exact, u"COAT"), Ids{quoted});
  EXPECT_EQ(AcceptedIds(script.words.exact, u"coat"), Ids{quotedLower});
}

// A class registers the classes it needs right after itself; the number
// class's identifier reaches the folding table at the link step.
TEST(CodeGeneratorTest, ClassesBringTheirDependenciesAndNumReachesTheFoldingTable) {
  lexora_test::Initialized library;
  CompiledScript script;
  CodeGenerator generator(script);
  EXPECT_EQ(generator.RegisterUnquotedWord(u"x"), 0u);
  EXPECT_EQ(generator.RegisterClass(kClassCcard), 1u);
  EXPECT_EQ(generator.RegisterClass(kClassNum), 2u);
  EXPECT_EQ(generator.RegisterClass(kClassCcard), 1u);
  EXPECT_EQ(script.program.identifierCount(), 3u);
  EXPECT_EQ(script.program.IdentifierText(2), u"NUM");
  generator.Link();
  EXPECT_TRUE(script.linked);
  EXPECT_EQ(AcceptedIds(script.words.folded, u"4111"), Ids{2});
  EXPECT_EQ(AcceptedIds(script.words.exact, u"4111"), Ids{});

  CompiledScript plain;
  CodeGenerator withoutNum(plain);
  withoutNum.RegisterClass(kClassLetter);
  withoutNum.Link();
  EXPECT_FALSE(plain.words.folded.wildcardInUse());
}

TEST(CodeGeneratorTest, ASequenceRegisteredTwiceKeepsItsIdentifier) {
  lexora_test::Initialized library;
  CompiledScript script;
  CodeGenerator generator(script);
  uint32_t cat = generator.RegisterUnquotedWord(u"cat");
  uint32_t dog = generator.RegisterUnquotedWord(u"dog");
  auto phrase = [&] {
    uint16_t state = generator.ExtendSequence(generator.ExtendSequence(0, cat), dog);
    return generator.RegisterSequence(state, 2, u"cat dog");
  };
  EXPECT_EQ(phrase(), 2u);
  EXPECT_EQ(phrase(), 2u);
  EXPECT_EQ(script.program.identifierCount(), 3u);
  EXPECT_EQ(script.program.IdentifierText(2), u"cat dog");
  EXPECT_EQ(script.words.sequences.phrases(), std::vector<std::u16string>{u"cat dog"});
}

TEST(CodeGeneratorTest, LinkResolvesLabelsAndRefusesUnknownOnes) {
  lexora_test::Initialized library;
  CompiledScript script;
  CodeGenerator generator(script);
  Program& program = generator.program();
  uint32_t label = program.NewLabel();
  program.Emit(kOpJz, static_cast<int32_t>(label));
  program.Emit(kOpNop);
  program.DefineLabel(label);
  program.Emit(kOpNop);
  generator.Link();
  EXPECT_EQ(program.code()[0].target(), 2u);

  CompiledScript bad;
  CodeGenerator badGenerator(bad);
  badGenerator.program().Emit(kOpJnz, 1);
  try {
    badGenerator.Link();
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(std::u16string(e.what()), u"Invalid jump target");
  }
}

}  // namespace
