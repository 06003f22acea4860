#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

using namespace lexora_test;

namespace {

// A compiled script and helpers to scan texts with it.
class Scanner {
 public:
  explicit Scanner(std::u16string_view rules) : script_(CreateLXScript()) {
    ILXStream* s = CreateStringStream(rules.data(), static_cast<uint32_t>(rules.size()));
    compiled_ = script_->Compile(s);
    s->Release();
  }
  ~Scanner() { script_->Release(); }
  bool compiled() const { return compiled_; }
  ILXScript* script() { return script_; }

 private:
  ILXScript* script_;
  bool compiled_;
};

bool ScanText(ILXRunner* runner, std::u16string_view text) {
  ILXStream* s = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
  bool ok = runner->Run(s);
  s->Release();
  return ok;
}

std::vector<uint32_t> HitsOf(ILXRunner* runner, uint32_t count) {
  std::vector<uint32_t> hits;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t h = 0;
    runner->GetExpressionResult(i, &h, nullptr);
    hits.push_back(h);
  }
  return hits;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(RunnerTest, ScoresHitsAndReport) {
  Initialized library;
  Scanner scanner(u"[SCORE=5,MATCH=ALL] cat\n[NAME=Dogs,SCORE=-2] dog\nbird\n");
  ASSERT_TRUE(scanner.compiled());
  ILXRunner* runner = scanner.script()->CreateRunner();
  ASSERT_NE(runner, nullptr);
  EXPECT_EQ(runner->GetScore(), 0);
  EXPECT_FALSE(runner->GetExpressionResult(0, nullptr, nullptr));
  ASSERT_TRUE(ScanText(runner, u"Cat cat CAT and a dog"));
  EXPECT_EQ(runner->GetScore(), 13);
  uint32_t hits = 0;
  int32_t score = 0;
  EXPECT_TRUE(runner->GetExpressionResult(0, &hits, &score));
  EXPECT_EQ(hits, 3u);
  EXPECT_EQ(score, 15);
  EXPECT_TRUE(runner->GetExpressionResult(2, nullptr, nullptr));
  EXPECT_FALSE(runner->GetExpressionResult(3, &hits, &score));
  EXPECT_EQ(std::u16string(runner->GetReport(false)),
            u"Expression #1 triggered 3 times, score 15\r\n"
            u"Expression named 'Dogs' triggered 1 time, score -2\r\n");
  EXPECT_EQ(std::u16string(runner->GetReport(true)),
            u"Expression \"cat\" triggered 3 times, score 15\r\n"
            u"Expression named 'Dogs' triggered 1 time, score -2\r\n");
  runner->Release();
}

TEST(RunnerTest, ANewScanRebuildsTheReport) {
  Initialized library;
  Scanner scanner(u"cat\ndog\n");
  ILXRunner* runner = scanner.script()->CreateRunner();
  ASSERT_TRUE(ScanText(runner, u"cat"));
  std::u16string first = runner->GetReport(false);
  EXPECT_EQ(first, u"Expression #1 triggered 1 time, score 10\r\n");
  ASSERT_TRUE(ScanText(runner, u"dog"));
  EXPECT_EQ(std::u16string(runner->GetReport(false)),
            u"Expression #2 triggered 1 time, score 10\r\n");
  ASSERT_TRUE(ScanText(runner, u""));
  EXPECT_EQ(std::u16string(runner->GetReport(false)), u"");
  EXPECT_EQ(runner->GetScore(), 0);
  runner->Release();
}

TEST(RunnerTest, LogHoldsTimingsAndTraceInOrder) {
  Initialized library;
  Scanner scanner(u"a AND b\n");
  ILXRunner* runner = scanner.script()->CreateRunner();
  TempFile log("", ".log");
  EXPECT_FALSE(runner->OpenLogFile(log.path().c_str()));
  ASSERT_TRUE(ScanText(runner, u"a b"));
  std::string text = ReadFile(log.path());
  std::regex expected(
      "Analysing input time: [0-9]+ms\n"
      "00000000:            \\.load 0\t# a\n"
      "00000001:            \\.jz 00000004 \\(not taken\\)\n"
      "00000002:            \\.load 1\t# b\n"
      "00000003:            \\.and\n"
      "00000004:            \\.st 0\t\t# a AND b\n"
      "Execution time: [0-9]+ms\n");
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
  runner->Release();
}

TEST(RunnerTest, UnwritableLogIsReportedAndScanningGoesOn) {
  Initialized library;
  Scanner scanner(u"a\n");
  ILXRunner* runner = scanner.script()->CreateRunner();
  EXPECT_TRUE(runner->OpenLogFile("/nonexistent/dir/run.log"));
  EXPECT_TRUE(runner->OpenLogFileW(u"/nonexistent/dir/run.log"));
  EXPECT_TRUE(runner->OpenLogFile(nullptr));
  // An unpaired surrogate names no file; replacing it would write another.
  const std::string suffix = "-\xEF\xBF\xBD.log";
  TempFile replaced("", suffix);
  std::string base = replaced.path().substr(0, replaced.path().size() - suffix.size());
  std::u16string lone = U16(base) + u"-\xD800.log";
  EXPECT_TRUE(runner->OpenLogFileW(lone.c_str()));
  EXPECT_TRUE(ScanText(runner, u"a"));
  EXPECT_EQ(ReadFile(replaced.path()), "");
  EXPECT_EQ(runner->GetScore(), 10);
  runner->Release();
}

TEST(RunnerTest, NullStreamIsAnError) {
  Initialized library;
  Scanner scanner(u"a\n");
  ILXRunner* runner = scanner.script()->CreateRunner();
  EXPECT_STREQ(reinterpret_cast<const char*>(runner->GetErrorText()), "");
  EXPECT_FALSE(runner->Run(nullptr));
  EXPECT_NE(std::u16string(runner->GetErrorText()), u"");
  EXPECT_TRUE(ScanText(runner, u"a"));  // a later success keeps the old error text
  EXPECT_NE(std::u16string(runner->GetErrorText()), u"");
  runner->Release();
}

// A failed scan has no score: a partial sum, or the last scan's, would pass
// for this text's.
TEST(RunnerTest, AFailedRunAnswersAsNoScan) {
  Initialized library;
  Scanner scanner(u"[MATCH=ALL] a\n");
  ILXRunner* runner = scanner.script()->CreateRunner();
  ASSERT_TRUE(ScanText(runner, u"a a"));
  EXPECT_EQ(runner->GetScore(), 20);
  EXPECT_NE(std::u16string(runner->GetReport(false)), u"");
  EXPECT_FALSE(runner->Run(nullptr));
  EXPECT_EQ(runner->GetScore(), 0);
  EXPECT_FALSE(runner->GetExpressionResult(0, nullptr, nullptr));
  EXPECT_EQ(std::u16string(runner->GetReport(false)), u"");
  ASSERT_TRUE(ScanText(runner, u"a"));
  EXPECT_EQ(runner->GetScore(), 10);
  runner->Release();
}

// A host stream that fills what it was asked for but claims more.
class OverclaimingStream final : public ILXStream {
 public:
  explicit OverclaimingStream(uint32_t extra) : extra_(extra) {}
  void AddRef() override {}
  void Release() override {}
  uint32_t Read(char16_t* buffer, uint32_t count) override {
    if (calls_++ > 0) return 0;
    for (uint32_t i = 0; i < count; ++i) buffer[i] = i % 2 ? u' ' : u'a';
    return count + extra_;
  }

 private:
  uint32_t extra_;
  int calls_ = 0;
};

TEST(RunnerTest, HostStreamClaimingMoreThanAskedEndsTheRun) {
  Initialized library;
  Scanner scanner(u"[MATCH=ALL] a\n");
  ILXRunner* runner = scanner.script()->CreateRunner();
  for (uint32_t extra : {1u, 4096u, 16777216u}) {
    OverclaimingStream input(extra);
    EXPECT_FALSE(runner->Run(&input)) << extra;
    EXPECT_EQ(U8(runner->GetErrorText()), "Input stream returned " + std::to_string(128 + extra) +
                                              " code units where at most 128 were asked for");
    EXPECT_EQ(runner->GetScore(), 0);
  }
  runner->Release();
  OverclaimingStream rules(1);
  EXPECT_FALSE(scanner.script()->Compile(&rules));
  EXPECT_EQ(scanner.script()->GetErrorCount(), 1u);
}

TEST(RunnerTest, RunnersOutliveTheirScriptAndItsRecompilation) {
  Initialized library;
  ILXRunner* runner;
  {
    Scanner scanner(u"cat\n");
    runner = scanner.script()->CreateRunner();
    std::u16string other = u"dog\nbird\n";
    ILXStream* s = CreateStringStream(other.data(), static_cast<uint32_t>(other.size()));
    ASSERT_TRUE(scanner.script()->Compile(s));
    s->Release();
  }
  ASSERT_TRUE(ScanText(runner, u"cat"));
  EXPECT_EQ(runner->GetScore(), 10);
  runner->Release();
}

TEST(RunnerTest, ConcurrentRunnersAgreeWithASerialRun) {
  Initialized library;
  Scanner scanner(
      u"[MATCH=ALL] free\n\"wire transfer\" NEAR=5 money\n[] [CCARD]\nwin* OR prize\n"
      u"(bank OR account) NEAR=3 verify\nfree INSTANCES=2\n");
  ASSERT_TRUE(scanner.compiled());
  std::vector<std::u16string> texts;
  for (int i = 0; i < 24; ++i) {
    std::u16string t;
    for (int k = 0; k <= i; ++k) {
      t += (k % 3 == 0) ? u"free money now " : u"please verify your bank account ";
      if (k % 5 == 0) t += u"wire transfer of the money 4111 1111 1111 1111 ";
      if (k % 7 == 0) t += u"winner winning prize ";
    }
    texts.push_back(t);
  }
  uint32_t count = scanner.script()->GetExpressionCount();
  std::vector<std::vector<uint32_t>> serial;
  ILXRunner* one = scanner.script()->CreateRunner();
  for (const auto& t : texts) {
    ASSERT_TRUE(ScanText(one, t));
    serial.push_back(HitsOf(one, count));
  }
  one->Release();
  std::vector<std::vector<std::vector<uint32_t>>> parallel(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      ILXRunner* runner = scanner.script()->CreateRunner();
      for (int round = 0; round < 5; ++round) {
        for (const auto& text : texts) {
          ScanText(runner, text);
          parallel[t].push_back(HitsOf(runner, count));
        }
      }
      runner->Release();
    });
  }
  for (auto& t : threads) t.join();
  for (int t = 0; t < 4; ++t) {
    for (size_t k = 0; k < parallel[t].size(); ++k) {
      EXPECT_EQ(parallel[t][k], serial[k % texts.size()]) << "thread " << t << " scan " << k;
    }
  }
}

// Without a trace the machine passes over statements that read only
// unmatched identifiers. A traced run executes every instruction, so the two
// must agree on every statement, whatever matched: NOT, which makes
// something from nothing, the negated positional forms, named statements
// read back later, and AND's short cut.
TEST(RunnerTest, PassingOverUnmatchedStatementsChangesNoResult) {
  Initialized library;
  const std::u16string rules =
      u"alpha\n"
      u"NOT alpha\n"
      u"alpha INSTANCES=1\n"
      u"alpha INSTANCES=2\n"
      u"[NAME=Pair] alpha OR beta\n"
      u"[@Pair] AND gamma\n"
      u"[MATCH=ALL] [@Pair] OR gamma\n"
      u"NOT [@Pair]\n"
      u"alpha NOT NEAR=2 beta\n"
      u"alpha NOT FOLLOWEDBY=1 beta\n"
      u"(alpha AND beta) OR gamma\n"
      u"\"alpha beta\" NEAR=3 gamma\n"
      u"NOT (alpha OR \"beta gamma\")\n"
      u"[MATCH=ALL] alpha* OR [NUM]\n";
  Scanner scanner(rules);
  ASSERT_TRUE(scanner.compiled());
  const uint32_t count = scanner.script()->GetExpressionCount();
  ILXRunner* passing = scanner.script()->CreateRunner();
  ILXRunner* traced = scanner.script()->CreateRunner();
  TempFile log("");
  ASSERT_FALSE(traced->OpenLogFile(log.path().c_str()));
  for (const char16_t* text :
       {u"", u"nothing here", u"alpha", u"beta gamma", u"alpha beta",
        u"alpha x beta gamma alpha 12", u"gamma alphabet alpha alpha", u"gamma gamma"}) {
    ASSERT_TRUE(ScanText(passing, text));
    ASSERT_TRUE(ScanText(traced, text));
    EXPECT_EQ(HitsOf(passing, count), HitsOf(traced, count)) << U8(text);
    EXPECT_EQ(passing->GetScore(), traced->GetScore()) << U8(text);
  }
  passing->Release();
  traced->Release();
}

// A runner clears only the counters its last text set: any it missed would
// add to the next text's hits and score.
TEST(RunnerTest, AReusedRunnerAnswersAsAFreshOne) {
  Initialized library;
  Scanner scanner(
      u"[SCORE=3] alpha\n[MATCH=ALL,SCORE=2] beta\n[NAME=G,SCORE=-1] gamma\nNOT delta\n"
      u"[@G] AND alpha\n[MATCH=ALL] [NUM]\nalpha NEAR=1 beta\n");
  ASSERT_TRUE(scanner.compiled());
  const uint32_t count = scanner.script()->GetExpressionCount();
  ILXRunner* reused = scanner.script()->CreateRunner();
  for (const char16_t* text : {u"alpha beta beta gamma 1 2", u"delta", u"", u"beta",
                               u"gamma alpha 7", u"delta delta", u"alpha beta gamma 4 5 6", u"x"}) {
    ASSERT_TRUE(ScanText(reused, text));
    ILXRunner* fresh = scanner.script()->CreateRunner();
    ASSERT_TRUE(ScanText(fresh, text));
    EXPECT_EQ(HitsOf(reused, count), HitsOf(fresh, count)) << U8(text);
    EXPECT_EQ(reused->GetScore(), fresh->GetScore()) << U8(text);
    int32_t sum = 0;
    for (uint32_t e = 0; e < count; ++e) {
      int32_t score = 0;
      ASSERT_TRUE(reused->GetExpressionResult(e, nullptr, &score));
      sum += score;
    }
    EXPECT_EQ(reused->GetScore(), sum) << U8(text);
    EXPECT_EQ(std::u16string(reused->GetReport(true)), std::u16string(fresh->GetReport(true)));
    fresh->Release();
  }
  reused->Release();
}

}  // namespace
