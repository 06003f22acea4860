#include "bench/compare/corpus.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lexora_compare {
namespace {

TEST(CorpusTest, Utf8ValidityRejectsWhatAFileStreamWouldNotDecodeAsUtf8) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));       // ISO-8859-1
  EXPECT_FALSE(IsValidUtf8("cut \xE2\x82"));  // truncated at the end
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
}

TEST(CorpusTest, DecodesEachCharsetToUtf16) {
  EXPECT_EQ(Decode("caf\xE9", "ISO-8859-1"), u"caf\u00E9");
  EXPECT_EQ(Decode("caf\xC3\xA9 \xF0\x9F\x98\x80", "UTF-8"), u"caf\u00E9 \U0001F600");
  EXPECT_EQ(Decode("", "UTF-8"), u"");
  EXPECT_THROW(Decode("x", "no-such-charset"), std::runtime_error);
}

class CorpusFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    // Unique per process and test, so that tests may run in parallel.
    root_ =
        fs::temp_directory_path() / ("lexora_compare_corpus_" + std::to_string(getpid()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "spam");
    fs::create_directories(root_ / "ham");
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const fs::path& relative, const std::string& bytes) {
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }
  fs::path root_;
};

TEST_F(CorpusFolderTest, ReadsMessagesOneFolderDownInPathOrder) {
  Write("spam/2.txt", "caf\xE9");
  Write("ham/1.txt", "hello");
  Write("ham/notes.md", "not a message");
  Write("top.txt", "not in a folder");
  Corpus corpus = LoadCorpus(root_.string(), 1);
  ASSERT_EQ(corpus.messages.size(), 2u);
  EXPECT_EQ(fs::path(corpus.messages[0].path).filename(), "1.txt");
  EXPECT_TRUE(corpus.messages[0].utf8);
  EXPECT_EQ(corpus.messages[1].text, u"caf\u00E9");
  EXPECT_FALSE(corpus.messages[1].utf8);
  EXPECT_EQ(corpus.bytes, 9u);
}

TEST_F(CorpusFolderTest, StrideKeepsEveryNthMessage) {
  for (char c = 'a'; c <= 'e'; ++c) Write(fs::path("ham") / (std::string(1, c) + ".txt"), "x");
  Corpus corpus = LoadCorpus(root_.string(), 2);
  ASSERT_EQ(corpus.messages.size(), 3u);
  EXPECT_EQ(fs::path(corpus.messages[2].path).filename(), "e.txt");
}

TEST_F(CorpusFolderTest, NoMessagesIsAnError) {
  EXPECT_THROW(LoadCorpus(root_.string(), 1), std::runtime_error);
  EXPECT_THROW(LoadCorpus((root_ / "missing").string(), 1), std::runtime_error);
}

}  // namespace
}  // namespace lexora_compare
