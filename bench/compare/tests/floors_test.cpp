#include "bench/compare/floors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace lexora_compare {
namespace {

TEST(FloorsTest, SerialThroughputAddsTheTimesPerByte) {
  EXPECT_DOUBLE_EQ(SerialThroughput(500, 500), 250);
  EXPECT_DOUBLE_EQ(SerialThroughput(100, 300), 75);
  EXPECT_EQ(SerialThroughput(0, 300), 0);
}

TEST(FloorsTest, EveryFloorMeasuresAMixedCorpus) {
  Corpus corpus;
  // Longer than one normalisation chunk, with something to decompose.
  std::string latin1(300, 'a');
  latin1 += "\xE9\xBD";
  std::string utf8 = "\xEF\xAC\x81 ligature";
  corpus.messages.push_back({"", latin1, false, Decode(latin1, "ISO-8859-1")});
  corpus.messages.push_back({"", utf8, true, Decode(utf8, "UTF-8")});
  corpus.bytes = latin1.size() + utf8.size();
  for (const Stats& s :
       {MeasureDecode(corpus, 3), MeasureNfkd(corpus, 3), MeasureMemcpy(corpus, 3)}) {
    EXPECT_TRUE(s.valid);
    EXPECT_GT(s.median, 0);
    EXPECT_LE(s.min, s.max);
  }
}

TEST(FloorsTest, FileReadsFetchEveryMessageFileAndNameOneThatIsGone) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("floors_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  Corpus corpus;
  for (const std::string& body : {std::string(5000, 'x'), std::string("short")}) {
    std::string path = (dir / std::to_string(corpus.messages.size())).string();
    std::ofstream(path, std::ios::binary) << body;
    corpus.messages.push_back({path, body, true, {}});
    corpus.bytes += body.size();
  }
  Stats reads = MeasureFileReads(corpus, 3);
  EXPECT_TRUE(reads.valid);
  EXPECT_GT(reads.median, 0);
  corpus.messages.push_back({(dir / "gone").string(), "", true, {}});
  EXPECT_THROW(MeasureFileReads(corpus, 1), std::runtime_error);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lexora_compare
