#include "engine/runtime/run_detectors.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/base/char_classes.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

// Offers whitespace-separated words to a detector; number words are those
// made of digits. Returns the runs found.
std::vector<Span> Offer(int32_t classId, std::u16string_view text) {
  RunDetector detector(classId, 0);
  std::vector<Span> runs;
  uint32_t index = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u' ', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view word = text.substr(start, end - start);
    bool number =
        !word.empty() && word.find_first_not_of(u"0123456789") == std::u16string_view::npos;
    detector.Offer(++index, word, number, runs);
    start = end + 1;
  }
  return runs;
}

TEST(RunDetectorTest, CardNumbers) {
  EXPECT_EQ(Offer(kClassCcard, u"4111 1111 1111 1111"), (std::vector<Span>{{1, 4}}));
  EXPECT_EQ(Offer(kClassCcard, u"4111 1111 1111 1112"), std::vector<Span>{});
  EXPECT_EQ(Offer(kClassCcard, u"x 4222222222222"), (std::vector<Span>{{2, 2}}));  // 13 digits
  EXPECT_EQ(Offer(kClassCcard, u"41111111111111111111"), std::vector<Span>{});     // 20 digits
  EXPECT_EQ(Offer(kClassCcard, u"0000 0000 0000 0000"), std::vector<Span>{});
  EXPECT_EQ(Offer(kClassCcard, u"4111 1111 x 1111 1111"), std::vector<Span>{});
  EXPECT_EQ(Offer(kClassCcard, u"pay 4111 1111 1111 1111 and 5500 0000 0000 0004 now"),
            (std::vector<Span>{{2, 5}, {7, 10}}));
}

TEST(RunDetectorTest, SocialSecurityNumbers) {
  EXPECT_EQ(Offer(kClassUsSsn, u"123 45 6789"), (std::vector<Span>{{1, 3}}));
  for (const char16_t* bad : {u"000 12 3456", u"666 12 3456", u"123 00 4567", u"123 45 0000",
                              u"987 65 4321", u"12 345 6789"}) {
    EXPECT_EQ(Offer(kClassUsSsn, bad), std::vector<Span>{}) << lexora_test::U8(bad);
  }
  EXPECT_EQ(Offer(kClassUsSsn, u"987 65 5321"), (std::vector<Span>{{1, 3}}));
  EXPECT_EQ(Offer(kClassUsSsn, u"1 123 45 6789"), (std::vector<Span>{{2, 4}}));
}

TEST(RunDetectorTest, LuhnCheck) {
  EXPECT_TRUE(PassesLuhn(u"79927398713"));
  EXPECT_FALSE(PassesLuhn(u"79927398710"));
  EXPECT_FALSE(PassesLuhn(u"0000"));
  EXPECT_TRUE(PassesLuhn(u"7992-7398-713"));  // non-digits are skipped
}

TEST(RunDetectorTest, LongRunsOfNumbersStayBounded) {
  RunDetector detector(kClassCcard, 0);
  std::vector<Span> runs;
  for (uint32_t i = 1; i <= 1'000'000; ++i) detector.Offer(i, u"1", true, runs);
  EXPECT_EQ(runs.size(), 0u);  // no run of thirteen to nineteen ones passes the check
}

// The detector sums only runs that end on the newest word. A plain search of
// every run in the window of adjacent numbers, restarted after each run
// found, must agree with it on long streams of short numbers, where card
// candidates overlap.
std::vector<Span> CardRunsByConcatenation(const std::vector<std::u16string>& words) {
  std::vector<Span> runs;
  std::vector<std::pair<uint32_t, std::u16string>> window;
  for (uint32_t index = 1; index <= words.size(); ++index) {
    const std::u16string& word = words[index - 1];
    if (word == u"x") {
      window.clear();
      continue;
    }
    window.push_back({index, word});
    for (size_t first = 0; first < window.size(); ++first) {
      std::u16string digits;
      for (size_t last = first; last < window.size() && digits.size() <= 19; ++last) {
        digits += window[last].second;
        if (digits.size() >= 13 && digits.size() <= 19 && PassesLuhn(digits)) {
          runs.push_back({window[first].first, window[last].first});
          window.erase(window.begin(), window.begin() + static_cast<ptrdiff_t>(first) + 1);
          first = static_cast<size_t>(-1);
          break;
        }
      }
    }
  }
  return runs;
}

TEST(RunDetectorTest, CardRunsAgreeWithAPlainSearch) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::u16string> words;
    std::u16string text;
    for (int k = 0; k < 400; ++k) {
      std::u16string word(1, u'x');
      if (random() % 23 != 0) {
        word.clear();
        for (size_t n = 1 + random() % 6; n > 0; --n) {
          word += static_cast<char16_t>(u'0' + random() % 10);
        }
      }
      words.push_back(word);
      text += (k ? u" " : u"") + word;
    }
    EXPECT_EQ(Offer(kClassCcard, text), CardRunsByConcatenation(words)) << "round " << round;
  }
}

}  // namespace
