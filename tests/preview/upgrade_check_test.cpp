#include <gtest/gtest.h>

#include <sstream>

#include "lexora2/lexora2.h"
#include "preview/upgrade_check.h"

namespace {

class RecordingLog : public ILogging {
 public:
  void Log(unsigned level, const std::string& line) override {
    lines += std::to_string(level) + " " + line;
  }
  std::string lines;
};

class UpgradeCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LXInitialize()); }
  void TearDown() override { LXCleanUp(); }

  int Check(const std::string& name, const std::vector<std::string>& itemTexts) {
    std::vector<std::unique_ptr<LX1Item>> items;
    for (const std::string& text : itemTexts)
      items.push_back(std::make_unique<LX1ItemFromString>(text));
    return CheckScript(name, items, ScriptKind::kLexora, errors, warnings, log);
  }

  std::string errors, warnings;
  RecordingLog log;
};

TEST(LX1ItemFromString, SplitsAtTheFirstTwoSemicolons) {
  LX1ItemFromString item(" 15 ;\t3 ;a;b ; c");
  EXPECT_TRUE(item.IsValid());
  EXPECT_EQ(item.Score(), 15);
  EXPECT_EQ(item.Weighting(), 3);
  EXPECT_EQ(item.Expression(), "a;b ; c");
  LX1ItemFromString notNumbers("x;y;z");
  EXPECT_EQ(notNumbers.Score(), 0);
  EXPECT_EQ(notNumbers.Weighting(), 0);
  EXPECT_FALSE(LX1ItemFromString("10;2").IsValid());
  EXPECT_EQ(WeightingCode("once only"), 2);
  EXPECT_EQ(WeightingCode("DECREASING"), 3);
  EXPECT_EQ(WeightingCode("sometimes"), 1);
}

TEST_F(UpgradeCheckTest, ConvertItemNotesRewritesAndJoinsTheConvertersMessage) {
  ConvertedItem plain = ConvertItem(LX1ItemFromString("5;2;what?"));
  EXPECT_EQ(plain.result, 0);
  EXPECT_EQ(plain.line, u"[SCORE=5,MATCH=1] what\\?");
  EXPECT_EQ(plain.message, "");

  ConvertedItem rewritten = ConvertItem(LX1ItemFromString("7;3;http:NEAR=12 (naked* OR nude*)"));
  EXPECT_EQ(rewritten.result, 1);
  EXPECT_EQ(rewritten.line, u"[SCORE=7,MATCH=3] http: NEAR=12 (naked* OR nude*)");
  EXPECT_EQ(rewritten.message,
            "Script automatically updated: http: NEAR=12 (naked* OR nude*). Decreasing scores are "
            "no longer supported. Now using max matches (=3) instead.");

  ConvertedItem unclosed = ConvertItem(LX1ItemFromString("1;1;a \"b"));
  EXPECT_EQ(unclosed.result, 2);
  EXPECT_EQ(unclosed.line, u"");
  EXPECT_EQ(unclosed.message, "Reached end of line without a closing \".");

  // Longer than the first guess of the buffers: the second call delivers it.
  std::string quotes(200, '(');
  ConvertedItem longLine = ConvertItem(LX1ItemFromString("1;1;\"" + quotes + "\""));
  EXPECT_EQ(longLine.line.size(), 22u + 2 * quotes.size());
}

TEST_F(UpgradeCheckTest, ScoringWarningsAreSummarisedPerScript) {
  EXPECT_EQ(Check("S", {"1;3;a", "1;3;b", "1;4;c", "1;1;d", "x"}), kWarningReported);
  EXPECT_EQ(warnings,
            "S: warning: Decreasing scores are no longer supported. Now using max matches (=3) "
            "instead., Expression: a\r\n"
            "S: warning: additional scoring warnings have been removed.\r\n");
  EXPECT_EQ(errors, "");
  EXPECT_EQ(FilterScoringWarnings({"a: warning: increasing SCORES are no longer supported\r\n",
                                   "other\r\n",
                                   "b: warning: Decreasing scores are no longer supported\r\n"}),
            (std::vector<std::string>{
                "a: warning: increasing SCORES are no longer supported\r\n", "other\r\n",
                "b: warning: Decreasing scores are no longer supported\r\n"}));
}

TEST_F(UpgradeCheckTest, StockScriptsWarnOnlyIntoTheLog) {
  EXPECT_EQ(Check("Generic Virus Hoaxes", {"10;4;virus"}), 0);
  EXPECT_EQ(warnings, "");
  EXPECT_EQ(log.lines,
            "2 Generic Virus Hoaxes: warning: Increasing scores are no longer supported. Now using "
            "standard scoring instead., Expression: virus\r\n");
  EXPECT_EQ(Check("generic virus hoaxes", {"10;4;virus"}), kWarningReported);
}

// Each line compiles alone; together their words need more automaton states
// than a script may have.
std::vector<std::string> ManyLongWords() {
  std::vector<std::string> items;
  for (char first = 'a'; first <= 'r'; ++first) {
    items.push_back(std::string("1;1;") + first + std::string(2000, 'x'));
  }
  return items;
}

TEST_F(UpgradeCheckTest, AScriptThatDoesNotCompileIsReportedOnlyWithoutItemErrors) {
  EXPECT_EQ(Check("Big", ManyLongWords()), kErrorReported);
  EXPECT_EQ(errors.find("Big:"), 0u);
  EXPECT_NE(errors.find("\r\nPlease contact technical support for help\r\n\r\n"),
            std::string::npos);
  errors.clear();
  std::vector<std::string> items = ManyLongWords();
  items.push_back("1;1;(unbalanced");
  EXPECT_EQ(Check("Big", items), kErrorReported);
  EXPECT_EQ(errors, "Big: error: Line 1, column 32: Expecting \")\", Expression: (unbalanced\r\n");
}

TEST(UpgradeCheck, NothingConvertsBeforeTheEngineStarts) {
  ConvertedItem item = ConvertItem(LX1ItemFromString("1;1;a"));
  EXPECT_EQ(item.result, 2);
  EXPECT_EQ(item.message, "Lexora library has not been initialized.");
}

TEST(CTextLog, RecordsOnlyWithEchoOrAnEnabledLevel) {
  std::ostringstream out;
  CTextLog silent(out, false, 0);
  silent.Log(2, "dropped\n");
  CTextLog levels(out, false, 4);
  levels.Log(2, "dropped\n");
  levels.Log(6, "level\n");
  CTextLog echo(out, true, 0);
  echo.Log(2, "echo\n");
  EXPECT_EQ(out.str(), "level\necho\n");
}

}  // namespace
