#include "bench/compare/lexora_measure.h"

#include <gtest/gtest.h>

#include "bench/script_generator.h"

namespace lexora_compare {
namespace {

class LexoraMeasureTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(LXInitialize()); }
  static void TearDownTestSuite() { LXCleanUp(); }

  static Corpus Texts(const std::vector<std::u16string>& texts) {
    Corpus corpus;
    for (const std::u16string& t : texts) {
      corpus.messages.push_back({"", std::string(t.size(), 'x'), true, t});
      corpus.bytes += t.size();
    }
    return corpus;
  }
};

TEST_F(LexoraMeasureTest, CompileReportsTimeAndSizeOrTheFirstError) {
  CompileFigures good = MeasureCompile(u"mail\n\"spam offer\"\n", 2);
  EXPECT_TRUE(good.ok);
  EXPECT_TRUE(good.seconds.valid);
  EXPECT_GT(good.compiledBytes, 0);

  CompileFigures bad = MeasureCompile(u"mail AND\n", 2);
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(bad.seconds.valid);
  EXPECT_FALSE(bad.error.empty());
}

TEST_F(LexoraMeasureTest, TwoThreadsScanEveryMessageExactlyOnce) {
  ILXScript* script = lexora_bench::CompileScript(u"mail\n");
  ASSERT_NE(script, nullptr);
  Corpus corpus = Texts({u"mail", u"mail mail", u"none", u"mail mail mail", u"mail"});
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    RunFigures figures = MeasureRun(*script, corpus, Feed::StringStreams, threads, 2);
    EXPECT_EQ(figures.failures, 0u);
    EXPECT_EQ(figures.hitSum, 7u);
    EXPECT_TRUE(figures.mbPerSecond.valid);
  }
  script->Release();
}

TEST_F(LexoraMeasureTest, UnreadableFilesCountAsFailedScans) {
  ILXScript* script = lexora_bench::CompileScript(u"mail\n");
  ASSERT_NE(script, nullptr);
  Corpus corpus = Texts({u"mail"});
  corpus.messages[0].path = "/nonexistent/lexora/message.txt";
  EXPECT_EQ(MeasureRun(*script, corpus, Feed::FileStreams, 1, 1).failures, 1u);
  script->Release();
}

}  // namespace
}  // namespace lexora_compare
