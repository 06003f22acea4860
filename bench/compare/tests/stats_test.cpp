#include "bench/compare/stats.h"

#include <gtest/gtest.h>

namespace lexora_compare {
namespace {

TEST(StatsTest, SummarisesUnsortedSamples) {
  Stats odd = Summarise({5, 1, 3});
  EXPECT_TRUE(odd.valid);
  EXPECT_DOUBLE_EQ(odd.median, 3);
  EXPECT_DOUBLE_EQ(odd.min, 1);
  EXPECT_DOUBLE_EQ(odd.max, 5);
  // An even count takes the mean of the middle two.
  EXPECT_DOUBLE_EQ(Summarise({4, 1, 2, 3}).median, 2.5);
  EXPECT_FALSE(Summarise({}).valid);
}

TEST(StatsTest, ThroughputsAreMegabytesPerSecondAndNeverDivideByZero) {
  std::vector<double> mbps = Throughputs({0.5, 2, 0}, 4e6);
  ASSERT_EQ(mbps.size(), 3u);
  EXPECT_DOUBLE_EQ(mbps[0], 8);
  EXPECT_DOUBLE_EQ(mbps[1], 2);
  EXPECT_DOUBLE_EQ(mbps[2], 0);
}

}  // namespace
}  // namespace lexora_compare
