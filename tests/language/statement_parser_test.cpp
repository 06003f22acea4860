#include "engine/language/statement_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/transfer_encoding.h"
#include "engine/language/script_compiler.h"
#include "test_support.h"

using namespace Nimbra::Lexora;
using lexora_test::Initialized;

namespace {

Compilation Compile(std::u16string_view script) {
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  Compilation c = CompileStream(stream);
  stream->Release();
  return c;
}

// The only error of a script that must fail.
std::u16string ErrorOf(std::u16string_view script) {
  Compilation c = Compile(script);
  if (c.errors.size() != 1) return u"(" + std::u16string(1, u'0' + c.errors.size()) + u" errors)";
  return c.errors[0];
}

// The code as "mnemonic operand" lines.
std::vector<std::string> CodeOf(std::u16string_view script) {
  Compilation c = Compile(script);
  std::vector<std::string> lines;
  if (!c.script) return {"(failed)"};
  for (const Instruction& i : c.script->program.code()) {
    std::string line = InfoOf(i.opcode).mnemonic;
    if (InfoOf(i.opcode).operand != OperandKind::None) line += " " + std::to_string(i.operand);
    lines.push_back(line);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(StatementParserTest, OnePrecedenceLeftAssociative) {
  Initialized library;
  EXPECT_EQ(CodeOf(u"[NAME=A] cat AND dog OR bird"),
            (Lines{".load 0", ".jz 4", ".load 1", ".and", ".load 2", ".or", ".st 0"}));
  EXPECT_EQ(CodeOf(u"a OR b AND c"),
            (Lines{".load 0", ".load 1", ".or", ".jz 6", ".load 2", ".and", ".st 0"}));
  EXPECT_EQ(CodeOf(u"a AND b AND c AND d"),
            (Lines{".load 0", ".jz 10", ".load 1", ".and", ".jz 10", ".load 2", ".and", ".jz 10",
                   ".load 3", ".and", ".st 0"}));
  EXPECT_EQ(CodeOf(u"a AND (b AND c)"),
            (Lines{".load 0", ".jz 7", ".load 1", ".jz 6", ".load 2", ".and", ".and", ".st 0"}));
}

TEST(StatementParserTest, PositionalOperators) {
  Initialized library;
  EXPECT_EQ(CodeOf(u"a NEAR b\na NEAR=4 b"), (Lines{".load 0", ".load 1", ".near 4", ".st 0",
                                                    ".load 0", ".load 1", ".near 4", ".st 1"}));
  EXPECT_EQ(
      CodeOf(u"a NOT NEAR b\na NEAR NOT b\na NEAR=2 NOT b\na FOLLOWEDBY=3 b\na NOT PRECEDEDBY b"),
      (Lines{".load 0",  ".load 1",  ".!near 4", ".st 0",          ".load 0",
             ".load 1",  ".!near 4", ".st 1",    ".load 0",        ".load 1",
             ".!near 2", ".st 2",    ".load 0",  ".load 1",        ".followedby 3",
             ".st 3",    ".load 0",  ".load 1",  ".!precededby 4", ".st 4"}));
  EXPECT_EQ(ErrorOf(u"a NEAR=0 b"),
            u"Line 1, column 8: Invalid distance parameter for positional operator");
  EXPECT_EQ(ErrorOf(u"a NEAR= b"),
            u"Line 1, column 9: Expecting positional operator's distance parameter");
  EXPECT_EQ(ErrorOf(u"a AND b NEAR c"),
            u"Line 1, column 9: NEAR operator may only be used between position-based expressions");
  EXPECT_EQ(ErrorOf(u"a FOLLOWEDBY NOT b"), u"(0 errors)");
  EXPECT_EQ(CodeOf(u"a AND (b NEAR c)").size(), 7u);
  EXPECT_EQ(ErrorOf(u"a NOT b"),
            u"Line 1, column 7: Expecting positional operator after NOT keyword");
  EXPECT_EQ(CodeOf(u"a AND NOT b"),
            (Lines{".load 0", ".jz 5", ".load 1", ".not", ".and", ".st 0"}));
  EXPECT_EQ(CodeOf(u"NOT (a NEAR b)"), (Lines{".load 0", ".load 1", ".near 4", ".not", ".st 0"}));
}

TEST(StatementParserTest, Instances) {
  Initialized library;
  EXPECT_EQ(CodeOf(u"(a OR b) INSTANCES=3"),
            (Lines{".load 0", ".load 1", ".or", ".instances 3", ".st 0"}));
  EXPECT_EQ(CodeOf(u"NOT a INSTANCES=2"), (Lines{".load 0", ".instances 2", ".not", ".st 0"}));
  EXPECT_EQ(
      ErrorOf(u"(a AND b) INSTANCES=3"),
      u"Line 1, column 9: INSTANCES keyword may only be used after a position-based expression");
  EXPECT_EQ(ErrorOf(u"a INSTANCES=0"),
            u"Line 1, column 13: Invalid count parameter for INSTANCES keyword");
  EXPECT_EQ(ErrorOf(u"a INSTANCES=10000"),
            u"Line 1, column 13: Invalid count parameter for INSTANCES keyword");
  EXPECT_EQ(ErrorOf(u"a INSTANCES 3"), u"Line 1, column 13: Expecting \"=\"");
  EXPECT_EQ(ErrorOf(u"a INSTANCES=x"),
            u"Line 1, column 13: Expecting INSTANCES operator's count parameter");
}

TEST(StatementParserTest, SequencesAndRegistration) {
  Initialized library;
  Compilation c = Compile(u"cat dog\ncat dog\ncat OR Cat\n\"cat\" OR \"Cat\"\nx OR [CCARD]");
  ASSERT_TRUE(c.script) << lexora_test::U8(c.errors.empty() ? u"" : c.errors[0]);
  const Program& p = c.script->program;
  EXPECT_EQ(p.IdentifierText(0), u"cat");
  EXPECT_EQ(p.IdentifierText(1), u"dog");
  EXPECT_EQ(p.IdentifierText(2), u"cat dog");
  EXPECT_EQ(p.IdentifierText(3), u"cat");  // quoted: its own identifier
  EXPECT_EQ(p.IdentifierText(4), u"Cat");
  EXPECT_EQ(p.IdentifierText(5), u"x");
  EXPECT_EQ(p.IdentifierText(6), u"CCARD");
  EXPECT_EQ(p.IdentifierText(7), u"NUM");
  EXPECT_EQ(p.identifierCount(), 8u);
  EXPECT_EQ(c.script->words.classes.WordIdOf(3), std::optional<uint32_t>(7));
  EXPECT_EQ(CodeOf(u"cat dog\ncat dog"), (Lines{".load 2", ".st 0", ".load 2", ".st 1"}));
  EXPECT_EQ(CodeOf(u"cat OR Cat"), (Lines{".load 0", ".load 0", ".or", ".st 0"}));
}

TEST(StatementParserTest, OptionsAndTheirMessages) {
  Initialized library;
  Compilation c = Compile(u"[MATCH=ALL,SCORE=-10000,NAME=Card] x\n[SCORE=7,SCORE=8,MATCH=ONCE] y");
  ASSERT_TRUE(c.script);
  const OptionRecord& first = c.script->program.Options(0);
  EXPECT_EQ(first.matchLimit, 0);
  EXPECT_EQ(first.score, -10000);
  EXPECT_EQ(first.name, u"Card");
  EXPECT_TRUE(first.positionBased);
  EXPECT_EQ(c.script->program.Options(1).score, 8);
  EXPECT_EQ(c.script->program.Options(1).matchLimit, 1);
  EXPECT_EQ(ErrorOf(u"[SCORE=10001] x"),
            u"Line 1, column 7: \"SCORE\" must be between -10000 and 10000");
  EXPECT_EQ(ErrorOf(u"[SCORE=abc] x"), u"Line 1, column 7: \"SCORE\" must be an integer value");
  EXPECT_EQ(ErrorOf(u"[SCORE=+5] x"), u"Line 1, column 7: \"SCORE\" must be an integer value");
  EXPECT_EQ(ErrorOf(u"[MATCH=-1] x"),
            u"Line 1, column 7: \"MATCH\" must be between 0 ('ALL') and 10000");
  EXPECT_EQ(ErrorOf(u"[MATCH=once] x"),
            u"Line 1, column 7: \"MATCH\" must be an integer value, 'ONCE' or 'ALL'");
  EXPECT_EQ(ErrorOf(u"[COLOR=red] x"), u"Line 1, column 7: Unknown option \"COLOR\"");
  EXPECT_EQ(ErrorOf(u"[SCORE=5]"), u"Line 1, column 10: Unexpected end-of-line");
  EXPECT_EQ(ErrorOf(u"[SCORE=99999999999] x"),
            u"Line 1, column 7: \"SCORE\" must be between -10000 and 10000");
}

TEST(StatementParserTest, NamedStatements) {
  Initialized library;
  EXPECT_EQ(CodeOf(u"[NAME=Pets] cat OR dog\n[@pets] NEAR bird\n[] [@PETS] AND x"),
            (Lines{".load 0", ".load 1", ".or", ".st 0", ".loadresult 0", ".load 2", ".near 4",
                   ".st 1", ".loadresult 0", ".jz 12", ".load 3", ".and", ".st 2"}));
  EXPECT_EQ(ErrorOf(u"[@Pets] NEAR bird\n[NAME=Pets] cat"),
            u"Line 1, column 1: No statement named \"Pets\" has yet been defined");
  EXPECT_EQ(ErrorOf(u"[NAME=Pets] cat\n[NAME=PETS] dog"),
            u"Line 2, column 6: Statement name \"PETS\" is already in use");
  EXPECT_EQ(ErrorOf(u"[NAME=B] a AND b\n[@b] NEAR c"),
            u"Line 2, column 6: NEAR operator may only be used between position-based expressions");
  EXPECT_EQ(ErrorOf(u"x y [@z]"), u"Line 1, column 5: Unexpected token: UNK");
  EXPECT_EQ(ErrorOf(u"x [@y]"), u"Line 1, column 3: Expecting end-of-line");
}

TEST(StatementParserTest, OneMessagePerFailingStatementAndRecovery) {
  Initialized library;
  Compilation c = Compile(u"good\nx )\nfine one\n( x\nlast");
  EXPECT_FALSE(c.script);
  ASSERT_EQ(c.errors.size(), 2u);
  EXPECT_EQ(c.errors[0], u"Line 2, column 3: Expecting end-of-line");
  EXPECT_EQ(c.errors[1], u"Line 4, column 4: Expecting \")\"");
  // An unclosed phrase fails its own line only; the next line starts clean.
  Compilation quotes = Compile(u"a \"open\n[SCORE=2] b\n");
  ASSERT_EQ(quotes.errors.size(), 1u);
  EXPECT_EQ(quotes.errors[0], u"Line 1, column 0: Expecting double quotes");
  EXPECT_EQ(ErrorOf(u"a AND\n"), u"Line 1, column 6: Unexpected end-of-line");
  EXPECT_EQ(ErrorOf(u"a OR )"), u"Line 1, column 6: Invalid sequence: )");
  // A bad option block after a comment line fails while only peeked at;
  // recovery still moves past it, also when it is the last line.
  Compilation afterComment = Compile(u"a\n# note\n[NAME=x y\nb\n# end\n[NAME=z");
  ASSERT_EQ(afterComment.errors.size(), 2u);
  EXPECT_EQ(afterComment.errors[0], u"Line 3, column 0: Expecting ']'");
  EXPECT_EQ(afterComment.errors[1], u"Line 6, column 8: Expecting ']'");
}

TEST(StatementParserTest, HostileScriptsFailCleanly) {
  Initialized library;
  std::u16string deep(200000, u'(');
  EXPECT_EQ(ErrorOf(u"x\n" + deep + u"a"),
            u"Line 2, column 1000: Expression nested too deeply (more than 1000 levels)");
  std::u16string nots;
  for (int i = 0; i < 5000; ++i) nots += u"NOT ";
  EXPECT_FALSE(Compile(nots + u"a").errors.empty());
  std::u16string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char16_t>((i * 7919) % 0xD800));
  Compile(binary);  // any result, no crash
}

// A statement that fails for its depth must leave no level behind: the
// statements after it are measured from the ground again.
TEST(StatementParserTest, NestingDepthStartsAfreshOnEveryStatement) {
  Initialized library;
  auto nested = [](int depth) {
    return std::u16string(depth, u'(') + u"a" + std::u16string(depth, u')') + u"\n";
  };
  std::u16string script;
  for (int i = 0; i < 10; ++i) script += nested(kMaxNesting + 1);
  script += nested(kMaxNesting - 5);
  Compilation c = Compile(script);
  EXPECT_EQ(c.errors.size(), 10u);
  for (size_t i = 0; i < c.errors.size() && i < 10; ++i) {
    EXPECT_EQ(c.errors[i],
              u"Line " + lexora_test::U16(std::to_string(i + 1)) +
                  u", column 1000: Expression nested too deeply (more than 1000 levels)");
  }
}

TEST(StatementParserTest, EncipheredScriptsAreNumbered) {
  Initialized library;
  std::u16string plain = u"[NAME=a] cat\ndog NEAR \"free gift\"\n";
  Compilation encoded = Compile(EncodeTransfer(plain));
  Compilation clear = Compile(plain);
  ASSERT_TRUE(encoded.script && clear.script);
  EXPECT_TRUE(encoded.script->numbered);
  EXPECT_FALSE(clear.script->numbered);
  EXPECT_EQ(CodeOf(EncodeTransfer(plain)), CodeOf(plain));
}

}  // namespace
