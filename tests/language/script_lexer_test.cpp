#include "engine/language/script_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/exceptions.h"
#include "engine/input/transfer_encoding.h"
#include "test_support.h"

using namespace Nimbra::Lexora;
using lexora_test::Initialized;

namespace {

// Each token as its short name (a reference shows as REF), with ":text" for
// tokens that carry text, up to and including the end of file.
std::vector<std::string> Lex(std::u16string_view script) {
  lexora_test::StreamPtr stream = lexora_test::StringStreamOf(script);
  std::vector<std::string> tokens;
  {
    ScriptLexer lexer(stream.get());
    for (;;) {
      Token t = lexer.Next();
      std::string kind = t.kind == kTokenReference ? "REF" : lexora_test::U8(ShortNameOf(t.kind));
      bool showText = IsWordItem(t.kind) || t.kind == kTokenReference ||
                      t.kind == kTokenOptionName || t.kind == kTokenOptionValue;
      tokens.push_back(kind + (showText && !t.text.empty() ? ":" + lexora_test::U8(t.text) : ""));
      if (t.kind == kTokenEndOfFile) break;
    }
  }
  return tokens;
}

// The message of the error that lexing raises.
std::u16string LexError(std::u16string_view script) {
  try {
    Lex(script);
  } catch (const LXException& e) {
    return e.what();
  }
  return u"(no error)";
}

using Tokens = std::vector<std::string>;

TEST(ScriptLexerTest, KeywordsAreUpperCasePlainWordsOnly) {
  Initialized library;
  EXPECT_EQ(Lex(u"cat AND dog"), (Tokens{"WRD:cat", "AND", "WRD:dog", "EOF"}));
  EXPECT_EQ(Lex(u"cat and dog"), (Tokens{"WRD:cat", "WRD:and", "WRD:dog", "EOF"}));
  EXPECT_EQ(Lex(u"a OR NOT b NEAR c FOLLOWEDBY d PRECEDEDBY e INSTANCES"),
            (Tokens{"WRD:a", "OR ", "NOT", "WRD:b", "NER", "WRD:c", "FBY", "WRD:d", "PBY", "WRD:e",
                    "INS", "EOF"}));
  EXPECT_EQ(Lex(u"\"NOT AND\""), (Tokens{"QWD:NOT", "QWD:AND", "EOF"}));
  EXPECT_EQ(Lex(u"x NEAR = 5\n"), (Tokens{"WRD:x", "NER", " = ", "NUM:5", "EOL", "EOF"}));
}

TEST(ScriptLexerTest, PatternsEscapesAndNumbers) {
  Initialized library;
  EXPECT_EQ(Lex(u"cat* c?t c\\*t 50\\% 123 12a \u0661\u0662"),
            (Tokens{"PAT:cat*", "PAT:c?t", "WRD:c\\*t", "WRD:50%", "NUM:123", "WRD:12a",
                    "NUM:\u0661\u0662", "EOF"}));
  EXPECT_EQ(Lex(u"a\\(b\\) \\\\x \\[y\\]"),
            (Tokens{"WRD:a(b)", "WRD:\\\\x", "WRD:\\[y\\]", "EOF"}));
  EXPECT_EQ(Lex(u"a #b"), (Tokens{"WRD:a", "WRD:#b", "EOF"}));
  EXPECT_EQ(Lex(u"x(y)"), (Tokens{"WRD:x", " ( ", "WRD:y", " ) ", "EOF"}));
}

TEST(ScriptLexerTest, ClassesAndReferences) {
  Initialized library;
  EXPECT_EQ(Lex(u"x [digit]s [ccard] [@Rule1]"),
            (Tokens{"WRD:x", "PAT:[DIGIT]s", "CLS:CCARD", "REF:Rule1", "EOF"}));
  EXPECT_EQ(Lex(u"[] [DIGIT]"), (Tokens{"PAT:[DIGIT]", "EOF"}));
  EXPECT_EQ(Lex(u"x [DIGIT]x* \"[letter]b\""),
            (Tokens{"WRD:x", "PAT:[DIGIT]x*", "QPT:[LETTER]b", "EOF"}));
  // At a line start "[@" reads a reference, not an option block.
  EXPECT_EQ(Lex(u"[@pets] NEAR bird"), (Tokens{"REF:pets", "NER", "WRD:bird", "EOF"}));
}

TEST(ScriptLexerTest, ClassAndReferenceErrors) {
  Initialized library;
  EXPECT_EQ(LexError(u"y x[CCARD]"),
            u"Line 1, column 4: Class [CCARD] cannot be used as part of a word");
  EXPECT_EQ(LexError(u"y [CCARD]x"),
            u"Line 1, column 3: Class [CCARD] cannot be used as part of a word");
  EXPECT_EQ(LexError(u"y [@Rule1]x"),
            u"Line 1, column 3: Named rules cannot be used as part of a word");
  EXPECT_EQ(LexError(u"y a[@r]"),
            u"Line 1, column 4: Named rules cannot be used as part of a word");
  EXPECT_EQ(LexError(u"y [@]"), u"Line 1, column 3: Expecting rule name");
  EXPECT_EQ(LexError(u"y []"), u"Line 1, column 3: Expecting character class name");
  EXPECT_EQ(LexError(u"y [colour]"), u"Line 1, column 3: Unknown class [colour]");
  EXPECT_EQ(LexError(u"y \"ab[colour]\""), u"Line 1, column 14: Unknown class [colour]");
  EXPECT_EQ(LexError(u"y [DIGIT"), u"Line 1, column 9: Expecting ']'");
}

TEST(ScriptLexerTest, QuotedPhrases) {
  Initialized library;
  EXPECT_EQ(Lex(u"\"Cat Food\""), (Tokens{"QWD:Cat", "QWD:Food", "EOF"}));
  EXPECT_EQ(Lex(u"\"Cat*\""), (Tokens{"QPT:Cat*", "EOF"}));
  EXPECT_EQ(Lex(u"(\"cat\")"), (Tokens{" ( ", "QWD:cat", " ) ", "EOF"}));
  EXPECT_EQ(Lex(u"x \"\" y"), (Tokens{"WRD:x", "QWD", "WRD:y", "EOF"}));
  EXPECT_EQ(Lex(u"\"a\\\"b\""), (Tokens{"QWD:a\"b", "EOF"}));
  // Blanks just inside the quotes add no empty words.
  EXPECT_EQ(Lex(u"\" foo \" x"), (Tokens{"QWD:foo", "WRD:x", "EOF"}));
}

TEST(ScriptLexerTest, QuoteErrors) {
  Initialized library;
  EXPECT_EQ(LexError(u"\"cat\"food"),
            u"Line 1, column 6: Whitespace required after closing double quotes");
  EXPECT_EQ(LexError(u"ab\"c\""),
            u"Line 1, column 3: Opening double quotes may only appear after whitespace");
  EXPECT_EQ(LexError(u"x \"open"), u"Line 1, column 8: Expecting double quotes");
  EXPECT_EQ(LexError(u"x \"open\ny"), u"Line 2, column 0: Expecting double quotes");
}

TEST(ScriptLexerTest, EscapeErrors) {
  Initialized library;
  EXPECT_EQ(LexError(u"ab \\q"), u"Line 1, column 4: Invalid escape sequence: \\q");
  EXPECT_EQ(LexError(u"ab\\"), u"Line 1, column 3: Incomplete escape sequence");
  EXPECT_EQ(LexError(u"ab\\ x"), u"Line 1, column 3: Incomplete escape sequence");
}

TEST(ScriptLexerTest, OptionBlocks) {
  Initialized library;
  EXPECT_EQ(Lex(u"[SCORE=5,MATCH=ALL] x"),
            (Tokens{"OPN:SCORE", "OPV:5", "OPN:MATCH", "OPV:ALL", "WRD:x", "EOF"}));
  EXPECT_EQ(Lex(u"a\n[NAME=x\\,y] b"),
            (Tokens{"WRD:a", "EOL", "OPN:NAME", "OPV:x,y", "WRD:b", "EOF"}));
  EXPECT_EQ(LexError(u"[DIGIT]"), u"Line 1, column 7: Expecting \"=\" after option \"DIGIT\"");
  EXPECT_EQ(LexError(u"[=5] x"), u"Line 1, column 1: Expecting option name");
  EXPECT_EQ(LexError(u"[SCORE=] x"), u"Line 1, column 7: Expecting option value");
  EXPECT_EQ(LexError(u"[SCORE=5"), u"Line 1, column 9: Expecting ']'");
}

TEST(ScriptLexerTest, LinesCommentsAndLineEnds) {
  Initialized library;
  EXPECT_EQ(Lex(u"# a comment\nx\r\n#another\r\ny"), (Tokens{"WRD:x", "EOL", "WRD:y", "EOF"}));
  EXPECT_EQ(Lex(u"a\rb"), (Tokens{"WRD:a", "WRD:b", "EOF"}));
  EXPECT_EQ(Lex(u"\u4e2d\u6587 x\u4e2d"),
            (Tokens{"WRD:\u4e2d", "WRD:\u6587", "WRD:x", "WRD:\u4e2d", "EOF"}));
}

TEST(ScriptLexerTest, StatementTextIsRebuilt) {
  Initialized library;
  std::u16string script = u"[SCORE=5]  cat   AND \"Cat  Food\" \"x\" [ccard] [@n] c\\*t\nnext";
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  {
    ScriptLexer lexer(stream);
    while (lexer.Peek().kind != kTokenEndOfLine) lexer.Next();
    EXPECT_EQ(lexer.statementText(), u"cat AND \"Cat Food x\" [CCARD] [@n] c\\*t");
    lexer.Next();
    EXPECT_EQ(lexer.statementText(), u"");
    EXPECT_EQ(lexer.line(), 2);
  }
  stream->Release();
}

TEST(ScriptLexerTest, SavedPositionsRestoreEverything) {
  Initialized library;
  std::u16string script = u"alpha \"beta gamma\" delta\nomega";
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  {
    ScriptLexer lexer(stream);
    lexer.Next();
    lexer.Next();  // inside the phrase
    {
      ScriptLexer::Saver saver(lexer);
      EXPECT_EQ(lexer.Next().text, u"gamma");
      EXPECT_EQ(lexer.Next().text, u"delta");
      EXPECT_EQ(lexer.Next().kind, kTokenEndOfLine);
      EXPECT_EQ(lexer.line(), 2);
    }
    EXPECT_EQ(lexer.line(), 1);
    EXPECT_EQ(lexer.statementText(), u"alpha \"beta\"");
    EXPECT_EQ(lexer.PeekSecond().text, u"delta");
    EXPECT_EQ(lexer.Next().text, u"gamma");
    EXPECT_EQ(lexer.statementText(), u"alpha \"beta gamma\"");
  }
  stream->Release();
}

// Saving a position far into the text drops what was read before it; every
// position saved after that, however deeply nested, must still restore.
TEST(ScriptLexerTest, NestedSavedPositionsRestoreInTurn) {
  Initialized library;
  std::u16string script;
  for (int i = 0; i < 100; ++i) script += u"w" + lexora_test::U16(std::to_string(i)) + u" ";
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  {
    ScriptLexer lexer(stream);
    for (int i = 0; i < 40; ++i) lexer.Next();
    std::vector<std::unique_ptr<ScriptLexer::Saver>> savers;
    for (int i = 0; i < 20; ++i) {
      savers.push_back(std::make_unique<ScriptLexer::Saver>(lexer));
      lexer.Next();
    }
    for (int i = 19; i >= 0; --i) {
      savers.back()->Restore();
      EXPECT_EQ(lexer.Next().text, u"w" + lexora_test::U16(std::to_string(40 + i)));
      savers.pop_back();
    }
  }
  stream->Release();
}

TEST(ScriptLexerTest, EncipheredScriptsReadLikePlainOnes) {
  Initialized library;
  std::u16string plain = u"[SCORE=5] \"free gift\" NEAR card*\n";
  EXPECT_EQ(Lex(EncodeTransfer(plain)), Lex(plain));
}

}  // namespace
