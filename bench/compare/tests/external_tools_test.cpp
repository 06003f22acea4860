#include "bench/compare/external_tools.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lexora_compare
