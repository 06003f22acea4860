// Hostile inputs finish with a result or a clear error, and the memory a scan
// holds stays bounded by what it records, not by the size of its input.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>

#include "test_support.h"

using lexora_test::Initialized;
using lexora_test::StringStreamOf;

namespace {

constexpr long kMiB = 1024;  // the kernel counts KiB

// The process's peak resident size since the last reset, from Linux's
// high-water mark.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string field;
  long kib = 0;
  while (status >> field) {
    if (field == "VmHWM:") status >> kib;
  }
  return kib;
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

}  // namespace
