#include "bench/compare/report.h"

#include <gtest/gtest.h>

namespace lexora_compare {
namespace {

Stats Of(double v) {
  return Summarise({v});
}

RunRow RunOf(const std::string& script, Feed feed, int threads, double mbps) {
  RunRow row{script, feed, threads, {}};
  row.figures.mbPerSecond = Of(mbps);
  return row;
}

// Every figure the ratios read, each just on the passing side of its target.
Results Passing() {
  Results r;
  CompileFigures s1k;
  s1k.ok = true;
  s1k.seconds = Of(0.01);
  CompileFigures words;
  words.ok = true;
  words.seconds = Of(0.01);
  words.compiledBytes = 1000;
  r.scripts = {{"S1k", 1000, s1k}, {"W1k words", 1000, words}};
  r.lexora = {RunOf("W1k words", Feed::StringStreams, 1, 300),
              RunOf("S1k", Feed::FileStreams, 1, 100), RunOf("S1k", Feed::FileStreams, 2, 180)};
  r.decode = Of(500);
  r.nfkd = Of(500);  // floor 250
  r.hyperscan.available = true;
  r.hyperscan.compileSeconds = Of(1.0);
  r.hyperscan.databaseBytes = 1000;
  r.hyperscan.mbPerSecond = Of(200);
  return r;
}

TEST(ReportTest, RatiosPassAtTheirBounds) {
  std::vector<Ratio> ratios = ComputeRatios(Passing());
  ASSERT_EQ(ratios.size(), 5u);
  const double expected[] = {1.5, 0.4, 100, 1.8, 1.0};
  for (size_t i = 0; i < ratios.size(); ++i) {
    SCOPED_TRACE(ratios[i].name);
    EXPECT_TRUE(ratios[i].known);
    EXPECT_NEAR(ratios[i].value, expected[i], 1e-9);
    EXPECT_TRUE(ratios[i].pass);
  }
}

TEST(ReportTest, RatiosMissOnTheWrongSide) {
  Results r = Passing();
  r.hyperscan.mbPerSecond = Of(201);
  r.scripts[1].compile.compiledBytes = 1001;  // the size bound is an upper one
  r.lexora[2].figures.mbPerSecond = Of(179);
  std::vector<Ratio> ratios = ComputeRatios(r);
  EXPECT_FALSE(ratios[0].pass);
  EXPECT_TRUE(ratios[1].pass);
  EXPECT_FALSE(ratios[3].pass);
  EXPECT_FALSE(ratios[4].pass);
}

TEST(ReportTest, WithoutHyperscanItsRatiosAreUnknownAndTheTableSaysSo) {
  Results r = Passing();
  r.hyperscan = HyperscanFigures{};
  r.hyperscan.note = "built without Hyperscan";
  std::vector<Ratio> ratios = ComputeRatios(r);
  EXPECT_FALSE(ratios[0].known);
  EXPECT_FALSE(ratios[2].known);
  EXPECT_FALSE(ratios[4].known);
  EXPECT_FALSE(ratios[0].pass);
  EXPECT_TRUE(ratios[1].known);
  std::string tables = FormatTables(r);
  EXPECT_NE(tables.find("| Hyperscan (built without Hyperscan) | n/a |"), std::string::npos);
}

TEST(ReportTest, FailedCompileAndScansAreShownNotHidden) {
  Results r = Passing();
  r.scripts[0].compile.ok = false;
  r.scripts[0].compile.error = "Line 1, column 1: bad";
  r.lexora[1].figures.failures = 3;
  EXPECT_FALSE(ComputeRatios(r)[2].known);
  std::string tables = FormatTables(r);
  EXPECT_NE(tables.find("failed: Line 1, column 1: bad"), std::string::npos);
  EXPECT_NE(tables.find("(3 scans failed)"), std::string::npos);
}

TEST(ReportTest, WarnsWhenASingleThreadScanDidNotGetItsCore) {
  Results r = Passing();
  for (RunRow& row : r.lexora) row.figures.coresBusy = Of(row.threads);
  EXPECT_EQ(FormatTables(r).find("Other work was running"), std::string::npos);
  r.lexora[1].figures.coresBusy = Of(0.6);
  EXPECT_NE(FormatTables(r).find("only 0.60 of a core"), std::string::npos);
}

}  // namespace
}  // namespace lexora_compare
