#include "engine/language/run_detectors.h"

#include <unicode/uchar.h>

#include "engine/language/char_classes.h"

namespace Nimbra::Lexora {
namespace {

constexpr size_t kCardMinLength = 13;
constexpr size_t kCardMaxLength = 19;

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool PassesLuhn(std::u16string_view text) {
  int sum = 0;
  bool doubled = false;
  for (size_t k = text.size(); k-- > 0;) {
    int32_t digit = u_digit(text[k], 10);
    if (digit < 0) continue;  // not a digit: skipped, the weight does not switch
    int product = doubled ? digit * 2 : digit;
    if (product > 9) product -= 9;
    sum += product;
    doubled = !doubled;
  }
  return sum != 0 && sum % 10 == 0;
}

// A card run is at most 19 characters of words of at least one, an SSN run
// three words. After each offer the window holds no complete run, so only
// runs that end on the newest word can appear: older words beyond a run's
// reach can go, which keeps a long stream of numbers cheap.
size_t RunDetector::MaxRunWords() const {
  return classId_ == kClassCcard ? kCardMaxLength : 3;
}

void RunDetector::Offer(uint32_t wordIndex, std::u16string_view text, bool isNumber,
                        std::vector<Span>& runs) {
  if (!isNumber) {
    window_.clear();
    lastIndex_ = -2;
    return;
  }
  if (static_cast<int64_t>(wordIndex) != lastIndex_ + 1) {
    window_.clear();
    windowFirst_ = wordIndex;
  }
  window_.emplace_back(text);
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
// characters that pass the Luhn check; the shortest such run wins.
std::optional<RunDetector::WindowRun> RunDetector::DetectCard(size_t from) const {
  std::u16string digits;
  for (size_t first = from; first < window_.size(); ++first) {
    digits.clear();
    for (size_t last = first; last < window_.size(); ++last) {
      digits += window_[last];
      if (digits.size() > kCardMaxLength) break;
      if (digits.size() >= kCardMinLength && PassesLuhn(digits)) return WindowRun{first, last};
    }
  }
  return std::nullopt;
}

// Area, group and serial parts of 3, 2 and 4 characters, none all zeros,
// area not 666, and not the advertising number 987-65-432x.
std::optional<RunDetector::WindowRun> RunDetector::DetectSsn(size_t from) const {
  for (size_t first = from; first + 2 < window_.size(); ++first) {
    const std::u16string& area = window_[first];
    const std::u16string& group = window_[first + 1];
    const std::u16string& serial = window_[first + 2];
    if (area.size() != 3 || group.size() != 2 || serial.size() != 4) continue;
    if (area == u"000" || area == u"666" || group == u"00" || serial == u"0000") continue;
    if (area == u"987" && group == u"65" && StartsWith(serial, u"432")) continue;
    return WindowRun{first, first + 2};
  }
  return std::nullopt;
}

}  // namespace Nimbra::Lexora
