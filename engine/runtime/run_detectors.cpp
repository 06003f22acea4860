#include "engine/runtime/run_detectors.h"

#include <unicode/uchar.h>

#include "engine/base/char_classes.h"

namespace Nimbra::Lexora {
namespace {

constexpr size_t kCardMinLength = 13;
constexpr size_t kCardMaxLength = 19;
constexpr size_t kSsnWords = 3;  // area, group, serial

// A digit's Luhn weight when doubled: the digit sum of twice the digit.
constexpr int kDoubled[10] = {0, 2, 4, 6, 8, 1, 3, 5, 7, 9};

bool IsLuhnSum(int sum) {
  return sum != 0 && sum % 10 == 0;
}

// A word's first units, padded with zeros, for the SSN part tests.
bool HeadIs(const char16_t (&head)[4], std::u16string_view text) {
  return std::u16string_view(head, text.size()) == text;
}

}  // namespace

LuhnSums SumLuhn(std::u16string_view text) {
  LuhnSums sums;
  for (size_t k = text.size(); k-- > 0;) {
    char16_t c = text[k];
    int32_t digit = c >= u'0' && c <= u'9' ? c - u'0' : u_digit(c, 10);
    if (digit < 0) continue;  // not a digit: skipped, the weight does not switch
    sums.plain += sums.oddDigits ? kDoubled[digit] : digit;
    sums.shifted += sums.oddDigits ? digit : kDoubled[digit];
    sums.oddDigits = !sums.oddDigits;
  }
  return sums;
}

bool PassesLuhn(std::u16string_view text) {
  return IsLuhnSum(SumLuhn(text).plain);
}

// A card run is at most 19 characters of words of at least one, an SSN run
// three words. After each offer the window holds no complete run, so only
// runs that end on the newest word can appear: older words beyond a run's
// reach can go, which keeps a long stream of numbers cheap.
uint32_t RunDetector::MaxRunWords() const {
  return static_cast<uint32_t>(classId_ == kClassCcard ? kCardMaxLength : kSsnWords);
}

void RunDetector::OfferNumber(uint32_t wordIndex, std::u16string_view text,
                              std::vector<Span>& runs) {
  if (static_cast<int64_t>(wordIndex) != lastIndex_ + 1) {
    window_.clear();
    windowFirst_ = wordIndex;
  }
  NumberWord word{text.size(), {}, {}};
  if (classId_ == kClassCcard) {
    if (word.length <= kCardMaxLength) word.luhn = SumLuhn(text);
  } else {
    text.substr(0, 4).copy(word.head, 4);
  }
  window_.push_back(word);
  lastIndex_ = wordIndex;
  if (window_.size() > MaxRunWords()) {
    size_t drop = window_.size() - MaxRunWords();
    window_.erase(window_.begin(), window_.begin() + static_cast<ptrdiff_t>(drop));
    windowFirst_ += static_cast<uint32_t>(drop);
  }
  std::optional<size_t> lastRunFirst;
  for (size_t from = 0;;) {
    std::optional<WindowRun> run = Detect(from);
    if (!run) break;
    runs.push_back({windowFirst_ + static_cast<uint32_t>(run->first),
                    windowFirst_ + static_cast<uint32_t>(run->last)});
    lastRunFirst = run->first;
    from = run->first + 1;
  }
  if (lastRunFirst) {
    size_t drop = *lastRunFirst + 1;
    window_.erase(window_.begin(), window_.begin() + static_cast<ptrdiff_t>(drop));
    windowFirst_ += static_cast<uint32_t>(drop);
  }
}

std::optional<RunDetector::WindowRun> RunDetector::Detect(size_t from) const {
  return classId_ == kClassCcard ? DetectCard(from) : DetectSsn(from);
}

// The first word from which adjacent words concatenate into 13 to 19
// characters that pass the Luhn check; the shortest such run wins. Each
// offer leaves no complete run behind, so a new run ends on the newest
// word, and the runs ending there are summed from it backwards.
std::optional<RunDetector::WindowRun> RunDetector::DetectCard(size_t from) const {
  size_t last = window_.size() - 1;
  std::optional<size_t> found;
  size_t length = 0;
  int sum = 0;
  bool shifted = false;
  for (size_t first = window_.size(); first-- > from;) {
    const NumberWord& word = window_[first];
    length += word.length;
    if (length > kCardMaxLength) break;
    sum += shifted ? word.luhn.shifted : word.luhn.plain;
    shifted = shifted != word.luhn.oddDigits;
    if (length >= kCardMinLength && IsLuhnSum(sum)) found = first;
  }
  if (!found) return std::nullopt;
  return WindowRun{*found, last};
}

// Area, group and serial parts of 3, 2 and 4 characters, none all zeros,
// area not 666, and not the advertising number 987-65-432x.
std::optional<RunDetector::WindowRun> RunDetector::DetectSsn(size_t from) const {
  for (size_t first = from; first + kSsnWords <= window_.size(); ++first) {
    const NumberWord& area = window_[first];
    const NumberWord& group = window_[first + 1];
    const NumberWord& serial = window_[first + 2];
    if (area.length != 3 || group.length != 2 || serial.length != 4) continue;
    if (HeadIs(area.head, u"000") || HeadIs(area.head, u"666") || HeadIs(group.head, u"00") ||
        HeadIs(serial.head, u"0000")) {
      continue;
    }
    if (HeadIs(area.head, u"987") && HeadIs(group.head, u"65") && HeadIs(serial.head, u"432")) {
      continue;
    }
    return WindowRun{first, first + 2};
  }
  return std::nullopt;
}

}  // namespace Nimbra::Lexora
