// Detectors for the classes that span several words: card numbers (CCARD)
// and US social security numbers (US-SSN), found in runs of adjacent number
// words.
#ifndef LEXORA_ENGINE_RUNTIME_RUN_DETECTORS_H
#define LEXORA_ENGINE_RUNTIME_RUN_DETECTORS_H

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/runtime/word_position_list.h"

namespace Nimbra::Lexora {

// The Luhn sums of a text's decimal digits, counted from its last one: with
// that digit weighed once (plain) and weighed twice (shifted), and whether
// the count of digits is odd. A run's sum adds its words' sums from the last
// word back, shifting after each word of an odd count.
struct LuhnSums {
  int plain = 0;
  int shifted = 0;
  bool oddDigits = false;
};
LuhnSums SumLuhn(std::u16string_view text);

// The Luhn check over the decimal digits of a text, from its last one.
bool PassesLuhn(std::u16string_view text);

class RunDetector {
 public:
  RunDetector(int32_t classId, uint32_t wordId) : classId_(classId), wordId_(wordId) {}

  int32_t classId() const { return classId_; }
  uint32_t wordId() const { return wordId_; }
  // The most words a run of this class spans.
  uint32_t MaxRunWords() const;

  // Offers the next word of the text; appends every run it completes, as
  // word-index spans, to `runs`.
  void Offer(uint32_t wordIndex, std::u16string_view text, bool isNumber, std::vector<Span>& runs) {
    if (!isNumber) {  // most words: inline, without a call
      window_.clear();
      lastIndex_ = -2;
      return;
    }
    OfferNumber(wordIndex, text, runs);
  }

 private:
  struct WindowRun {
    size_t first;
    size_t last;
  };
  // What the detectors need of a number word, without keeping its text.
  struct NumberWord {
    size_t length;
    LuhnSums luhn;     // card detector: counted for words short enough for a card
    char16_t head[4];  // SSN detector: the first units, padded with zeros
  };
  void OfferNumber(uint32_t wordIndex, std::u16string_view text, std::vector<Span>& runs);
  std::optional<WindowRun> Detect(size_t from) const;
  std::optional<WindowRun> DetectCard(size_t from) const;
  std::optional<WindowRun> DetectSsn(size_t from) const;

  int32_t classId_;
  uint32_t wordId_;
  std::vector<NumberWord> window_;  // adjacent number words
  uint32_t windowFirst_ = 0;        // word index of window_[0]
  int64_t lastIndex_ = -2;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_RUN_DETECTORS_H
