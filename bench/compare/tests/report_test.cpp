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
              RunOf("S1k", Feed::FileStreams, 1, 160),
              RunOf("S1k", Feed::FileStreams, 2, 288),
              RunOf("S1k", Feed::StringStreams, 1, 200),
              RunOf("largest", Feed::StringStreams, 1, 150),
              RunOf("R500 words", Feed::StringStreams, 1, 250)};
  r.decode = Of(800);
  r.nfkd = Of(800);       // floor 400
  r.fileReads = Of(800);  // (b) S1k with the reads added: 160
  r.hyperscan.available = true;
  r.hyperscan.compileSeconds = Of(1.0);
  r.hyperscan.databaseBytes = 1000;
  r.hyperscan.mbPerSecond = Of(200);
  r.hyperscanSeldom = r.hyperscan;
  r.hyperscanSeldom.mbPerSecond = Of(500);
  return r;
}

// Ratios in table order.
enum {
  kWords,
  kS1kString,
  kFileString,
  kReadBound,
  kLargest,
  kSeldom,
  kFloor,
  kCompile,
  kThreads,
  kSize
};

TEST(ReportTest, RatiosPassAtTheirBounds) {
  std::vector<Ratio> ratios = ComputeRatios(Passing());
  ASSERT_EQ(ratios.size(), 10u);
  const double expected[] = {1.5, 1.0, 0.8, 0.8, 0.5, 0.5, 0.4, 100, 1.8, 1.0};
  for (size_t i = 0; i < ratios.size(); ++i) {
    SCOPED_TRACE(ratios[i].name);
    EXPECT_TRUE(ratios[i].known);
    EXPECT_NEAR(ratios[i].value, expected[i], 1e-9);
    // The rare-words ratio and the reads' bound have no target: reported only.
    EXPECT_EQ(ratios[i].pass, i != kSeldom && i != kReadBound);
  }
  EXPECT_NE(FormatTables(Passing()).find("| 0.50 | — | reported |"), std::string::npos);
}

TEST(ReportTest, RatiosMissOnTheWrongSide) {
  Results r = Passing();
  r.hyperscan.mbPerSecond = Of(201);
  r.scripts[1].compile.compiledBytes = 1001;  // the size bound is an upper one
  r.lexora[1].figures.mbPerSecond = Of(159);
  r.lexora[2].figures.mbPerSecond = Of(286);
  r.lexora[4].figures.mbPerSecond = Of(149);
  std::vector<Ratio> ratios = ComputeRatios(r);
  EXPECT_FALSE(ratios[kWords].pass);
  EXPECT_FALSE(ratios[kS1kString].pass);
  EXPECT_FALSE(ratios[kFileString].pass);
  EXPECT_FALSE(ratios[kLargest].pass);
  EXPECT_FALSE(ratios[kFloor].pass);
  EXPECT_FALSE(ratios[kThreads].pass);
  EXPECT_FALSE(ratios[kSize].pass);
}

TEST(ReportTest, WithoutHyperscanItsRatiosAreUnknownAndTheTableSaysSo) {
  Results r = Passing();
  r.hyperscan = HyperscanFigures{};
  r.hyperscan.note = "built without Hyperscan";
  r.hyperscanSeldom = r.hyperscan;
  std::vector<Ratio> ratios = ComputeRatios(r);
  for (size_t i : {kWords, kS1kString, kSeldom, kCompile, kSize}) {
    EXPECT_FALSE(ratios[i].known) << ratios[i].name;
    EXPECT_FALSE(ratios[i].pass) << ratios[i].name;
  }
  EXPECT_TRUE(ratios[kFileString].known);
  EXPECT_TRUE(ratios[kReadBound].known);
  EXPECT_TRUE(ratios[kFloor].known);
  std::string tables = FormatTables(r);
  EXPECT_NE(tables.find("| Hyperscan W1k (built without Hyperscan) | n/a |"), std::string::npos);
  EXPECT_NE(tables.find("| Hyperscan R500 (built without Hyperscan) | n/a |"), std::string::npos);
}

TEST(ReportTest, FailedCompileAndScansAreShownNotHidden) {
  Results r = Passing();
  r.scripts[0].compile.ok = false;
  r.scripts[0].compile.error = "Line 1, column 1: bad";
  r.lexora[1].figures.failures = 3;
  EXPECT_FALSE(ComputeRatios(r)[kCompile].known);
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
