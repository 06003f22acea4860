// Hostile inputs finish with a result or a clear error, and the memory a scan
// holds stays bounded by what it records, not by the size of its input.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

using lexora_test::Initialized;
using lexora_test::StringStreamOf;

namespace {

constexpr long kMiB = 1024;  // the kernel counts KiB

// A size from Linux's account of the process, in KiB.
long StatusKiB(const std::string& wanted) {
  std::ifstream status("/proc/self/status");
  std::string field;
  long kib = 0;
  while (status >> field) {
    if (field == wanted) status >> kib;
  }
  return kib;
}

// The process's peak resident size since the last reset.
long PeakResidentKiB() {
  return StatusKiB("VmHWM:");
}

// Starts the high-water mark afresh, so that each test measures its own.
void ResetPeakResident() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// `total` units of a repeated pattern, made as they are read: the input is
// never held whole.
class RepeatingStream final : public ILXStream {
 public:
  RepeatingStream(std::u16string pattern, uint64_t total)
      : pattern_(std::move(pattern)), left_(total) {}
  void AddRef() override { ++references_; }
  void Release() override {
    if (--references_ == 0) delete this;
  }
  uint32_t Read(char16_t* buffer, uint32_t count) override {
    uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(count, left_));
    for (uint32_t i = 0; i < n; ++i) buffer[i] = pattern_[(offset_ + i) % pattern_.size()];
    offset_ = (offset_ + n) % pattern_.size();
    left_ -= n;
    return n;
  }

 private:
  std::u16string pattern_;
  uint64_t left_;
  size_t offset_ = 0;
  std::atomic<int> references_{1};
};

struct Scan {
  bool ran;
  uint32_t hits;
};

struct FullScan {
  bool ran;
  std::vector<uint32_t> hits;
  int32_t score;
  std::u16string report;
  std::u16string error;
};

// Every statement's hits, the score and the report of one scan.
FullScan ScanAll(std::u16string_view script, std::u16string pattern, uint64_t units) {
  ILXScript* s = CreateLXScript();
  EXPECT_TRUE(s->Compile(StringStreamOf(script).get()));
  ILXRunner* runner = s->CreateRunner();
  ILXStream* input = new RepeatingStream(std::move(pattern), units);
  FullScan scan{runner->Run(input), {}, 0, {}, {}};
  for (uint32_t i = 0, h = 0; runner->GetExpressionResult(i, &h, nullptr); ++i) {
    scan.hits.push_back(h);
  }
  scan.score = runner->GetScore();
  scan.report = runner->GetReport(false);
  scan.error = runner->GetErrorText();
  input->Release();
  runner->Release();
  s->Release();
  return scan;
}

Scan ScanRepeated(std::u16string_view script, std::u16string pattern, uint64_t units) {
  ILXScript* s = CreateLXScript();
  EXPECT_TRUE(s->Compile(StringStreamOf(script).get()));
  ILXRunner* runner = s->CreateRunner();
  ILXStream* input = new RepeatingStream(std::move(pattern), units);
  Scan scan{runner->Run(input), 0};
  runner->GetExpressionResult(0, &scan.hits, nullptr);
  input->Release();
  runner->Release();
  s->Release();
  return scan;
}

TEST(ResourceBoundsTest, TwoHundredMegabyteLineWithoutSeparators) {
  Initialized library;
  ResetPeakResident();
  Scan scan =
      ScanRepeated(u"aa*\nhello\n[] [CCARD]\na*a*a*b\n", u"a", 100'000'000);  // 200 MB of UTF-16
  EXPECT_TRUE(scan.ran);
  EXPECT_EQ(scan.hits, 1u);  // one word, however long
  EXPECT_LT(PeakResidentKiB(), 64 * kMiB);
}

TEST(ResourceBoundsTest, OneWordRepeatedTenMillionTimes) {
  Initialized library;
  ResetPeakResident();
  Scan scan = ScanRepeated(u"[MATCH=ALL] free\nfree NEAR=2 free\n", u"free ", 50'000'000);
  EXPECT_TRUE(scan.ran);
  EXPECT_EQ(scan.hits, 10'000'000u);
  // Bounded by the spans recorded: 10 million words and the NEAR's 50
  // million pairs, 8 bytes each, with room for the lists' growth.
  EXPECT_LT(PeakResidentKiB(), 1024 * kMiB);
}

TEST(ResourceBoundsTest, ScriptsPastTheLimitsFailWithTheirMessage) {
  Initialized library;
  ResetPeakResident();
  std::u16string words;
  for (int i = 0; i < 32766; ++i)
    words += u"w" + std::u16string(1, u'a' + i % 26) + lexora_test::U16(std::to_string(i)) + u"\n";
  ILXScript* s = CreateLXScript();
  EXPECT_FALSE(s->Compile(StringStreamOf(words).get()));
  ASSERT_EQ(s->GetErrorCount(), 1u);
  EXPECT_EQ(std::u16string(s->GetError(0)),
            u"Script too big, exceeded maximum number of DFA states");
  std::u16string deep(1'000'000, u'(');
  EXPECT_FALSE(s->Compile(StringStreamOf(deep + u"a").get()));
  EXPECT_NE(std::u16string(s->GetError(0)).find(u"nested too deeply"), std::u16string::npos);
  s->Release();
  EXPECT_LT(PeakResidentKiB(), 256 * kMiB);
}

// Statements that no later one reads give up their positions when they end:
// the scan holds about its largest result, not the sum of them all.
TEST(ResourceBoundsTest, DenseNearStatementsHoldOnlyWhatIsLive) {
  Initialized library;
  ResetPeakResident();
  std::u16string script;
  for (int i = 0; i < 300; ++i) {
    script +=
        u"[MATCH=ALL] alpha NEAR=" + lexora_test::U16(std::to_string(1 + i % 4)) + u" bravo\n";
  }
  FullScan scan = ScanAll(script, u"alpha bravo ", 12 * 20000);
  ASSERT_TRUE(scan.ran);
  ASSERT_EQ(scan.hits.size(), 300u);
  // Each alpha but the first has a bravo on either side; within 3 words
  // also the bravo beyond that.
  EXPECT_EQ(scan.hits[0], 39999u);
  EXPECT_EQ(scan.hits[2], 79996u);
  // Kept to the end, the 300 results of 60,000 spans on average would hold
  // some 150 MB.
  EXPECT_LT(PeakResidentKiB(), 64 * kMiB);
}

// NOT NEAR and its kin settle each left position by a search, whatever the
// distance: compared with every right position, this scan would run for most
// of an hour.
bool NegatedOperatorsFindTheEnds() {
  Initialized library;
  FullScan scan = ScanAll(
      u"[MATCH=ALL] alpha NOT NEAR=2147483647 bravo\n"
      u"[MATCH=ALL] alpha NOT FOLLOWEDBY=2147483647 bravo\n"
      u"[MATCH=ALL] alpha NOT PRECEDEDBY=2147483647 bravo\n",
      u"alpha bravo ", 12 * 600000 + 5);  // ends in an alpha
  return scan.ran && scan.hits == std::vector<uint32_t>{0, 1, 1};
}

// The alarm turns a run that would not end into a failure.
TEST(ResourceBoundsDeathTest, NegatedOperatorsWithTheLargestDistanceStayNearLinear) {
  EXPECT_EXIT((::alarm(300), std::_Exit(NegatedOperatorsFindTheEnds() ? 0 : 1)),
              ::testing::ExitedWithCode(0), "");
}

// Out of memory in the middle of a scan, the runner answers as for no scan:
// neither the statements counted before the failure nor a wrapped sum.
bool OutOfMemoryLeavesNoResult() {
  Initialized library;
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(StatusKiB("VmSize:") + 256 * kMiB) * 1024;
  ::setrlimit(RLIMIT_AS, &limit);
  // The second statement's result would take 3.2 GB.
  FullScan scan = ScanAll(u"[MATCH=ALL] alpha\n[MATCH=ALL] alpha NEAR=2147483647 bravo\n",
                          u"alpha bravo ", 12 * 20000);
  return !scan.ran && scan.error == u"std::bad_alloc" && scan.hits.empty() && scan.score == 0 &&
         scan.report.empty();
}

TEST(ResourceBoundsDeathTest, ScanOutOfMemoryLeavesNoPartialResult) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve address space of their own";
#endif
  EXPECT_EXIT(std::_Exit(OutOfMemoryLeavesNoResult() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
