#include "bench/compare/floors.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lexora_compare
