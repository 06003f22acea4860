#include "bench/compare/external_tools.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace lexora_compare {
namespace {

TEST(ExternalToolsTest, CollectsOutputAndExitCodeInTheCLocale) {
  ProcessResult r = RunProcess({"sh", "-c", "printf '%s' \"$LC_ALL\"; exit 1"});
  EXPECT_TRUE(r.started);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.output, "C");
}

TEST(ExternalToolsTest, OutputLargerThanThePipeIsReadWhole) {
  ProcessResult r = RunProcess({"sh", "-c", "head -c 200000 /dev/zero"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.output.size(), 200000u);
}

TEST(ExternalToolsTest, AMissingProgramIsNotStarted) {
  ProcessResult r = RunProcess({"lexora-compare-no-such-program"});
  EXPECT_FALSE(r.started);
}

TEST(ExternalToolsTest, GrepCountsMatchingLinesAndPerlCountsMatchesOverAllMessages) {
  namespace fs = std::filesystem;
  fs::path dir =
      fs::temp_directory_path() / ("lexora_compare_tools_test_" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "words.txt") << "mail\nspam\n";
  Corpus corpus;
  const char* const texts[] = {"Mail mail-box\nmailing\n", "SPAM, spam\n", "nothing\n"};
  for (int i = 0; i < 3; ++i) {
    std::string path = (dir / (std::to_string(i) + ".txt")).string();
    std::ofstream(path) << texts[i];
    corpus.messages.push_back({path, texts[i], true, u""});
    corpus.bytes += std::string(texts[i]).size();
  }
  ToolFigures grep = MeasureGrep((dir / "words.txt").string(), corpus, 1);
  ToolFigures perl = MeasurePerl((dir / "words.txt").string(), corpus, 1);
  fs::remove_all(dir);
  ASSERT_TRUE(grep.available) << grep.note;
  EXPECT_EQ(grep.count, 2u);
  ASSERT_TRUE(perl.available) << perl.note;
  EXPECT_EQ(perl.count, 4u);
}

}  // namespace
}  // namespace lexora_compare
