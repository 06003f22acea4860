#include "engine/runtime/scoring.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace Nimbra::Lexora;

namespace {

OptionRecord Options(int32_t score, int32_t match, std::u16string name = u"") {
  OptionRecord o;
  o.score = score;
  o.matchLimit = match;
  o.name = std::move(name);
  return o;
}

TEST(ScoringTest, MatchLimits) {
  EXPECT_EQ(ExpressionScore(Options(10, 0), 3), 30);
  EXPECT_EQ(ExpressionScore(Options(10, 1), 3), 10);
  EXPECT_EQ(ExpressionScore(Options(10, 3), 5), 30);
  EXPECT_EQ(ExpressionScore(Options(-5, 2), 7), -10);
  EXPECT_EQ(ExpressionScore(Options(10, 0), 0), 0);
}

// A score past the 32-bit range stops at its end: a sum that wrapped to the
// other sign would let the worst text pass every threshold.
TEST(ScoringTest, ScoresSaturateInsteadOfChangingSign) {
  EXPECT_EQ(ExpressionScore(Options(10000, 0), 214749), INT32_MAX);  // true sum 2,147,490,000
  EXPECT_EQ(ExpressionScore(Options(-10000, 0), 214749), INT32_MIN);
  EXPECT_EQ(ExpressionScore(Options(10000, 0), UINT32_MAX), INT32_MAX);
  Program p;
  p.AddStatement(u"free", Options(10000, 0));
  p.AddStatement(u"cash", Options(10000, 0));
  p.AddStatement(u"ham", Options(-10000, 0));
  EXPECT_EQ(TotalScore(p, std::vector<uint32_t>{120000, 120000, 0}, std::vector<uint32_t>{1, 0}),
            INT32_MAX);
  EXPECT_EQ(TotalScore(p, std::vector<uint32_t>{0, 0, 300000}, std::vector<uint32_t>{2}),
            INT32_MIN);
  EXPECT_EQ(TotalScore(p, std::vector<uint32_t>{120000, 0, 100000}, std::vector<uint32_t>{2, 0}),
            200'000'000);
  EXPECT_EQ(BuildReport(p, std::vector<uint32_t>{214749, 0, 0}, false, false),
            u"Expression #1 triggered 214749 times, score 2147483647\r\n");
}

TEST(ScoringTest, TotalsAndReportLines) {
  Program p;
  p.AddStatement(u"cat", Options(10, 0));
  p.AddStatement(u"dog", Options(0, 1));
  p.AddStatement(u"bird", Options(-5, 0, u"Birds"));
  p.AddStatement(u"fish", Options(10, 1));
  std::vector<uint32_t> hits = {3, 1, 2, 0};
  EXPECT_EQ(TotalScore(p, hits, std::vector<uint32_t>{2, 0, 1}), 20);
  // A statement listed past the counters counts nothing.
  EXPECT_EQ(TotalScore(p, hits, std::vector<uint32_t>{0, 7}), 30);
  EXPECT_EQ(BuildReport(p, hits, false, false),
            u"Expression #1 triggered 3 times, score 30\r\n"
            u"Expression #2 triggered 1 time, score 0\r\n"
            u"Expression named 'Birds' triggered 2 times, score -10\r\n");
  EXPECT_EQ(BuildReport(p, hits, true, false).substr(0, 44),
            u"Expression \"cat\" triggered 3 times, score 30");
  EXPECT_EQ(BuildReport(p, hits, true, true).substr(0, 13), u"Expression #1");
  EXPECT_EQ(BuildReport(p, std::vector<uint32_t>(4, 0), true, false), u"");
}

TEST(ScoringTest, LongLinesAreCut) {
  Program p;
  p.AddStatement(std::u16string(5000, u'x'), Options(1, 1));
  std::vector<uint32_t> hits = {1};
  std::u16string report = BuildReport(p, hits, true, false);
  EXPECT_EQ(report.size(), 2047u + 2);
  EXPECT_EQ(report.substr(2047), u"\r\n");
}

}  // namespace
