#include "engine/input/charset_detector.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/input/charset/double_byte_recognizers.h"
#include "engine/input/charset/escape_recognizers.h"
#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/seven_bit_rivals.h"
#include "engine/input/charset/single_byte_recognizers.h"
#include "engine/input/charset/unicode_recognizers.h"

namespace Nimbra::Lexora {
namespace {

// A recognizer with one name: its weight, the highest confidence it can
// give, and how it scores a sample.
struct FixedRecognizer {
  const char* name;
  int32_t weight;
  int32_t highest;
  int32_t (*confidence)(const SampleFacts&);
};

template <DoubleByteCharset kCharset, CommonCharsId kCommon>
int32_t DoubleByte(const SampleFacts& sample) {
  return DoubleByteConfidence(sample, kCharset, CommonChars(kCommon));
}

template <EscapeCharset kCharset>
int32_t Escape(const SampleFacts& sample) {
  return EscapeConfidence(sample, kCharset);
}

template <bool kBigEndian>
int32_t Utf16(const SampleFacts& sample) {
  return Utf16Confidence(sample, kBigEndian);
}

constexpr FixedRecognizer kSevenBit = {"ISO-8859-1", 0, 75, SevenBitConfidence};
constexpr FixedRecognizer kUtf8 = {"UTF-8", 100, 100, Utf8Confidence};
constexpr FixedRecognizer kUtf16[] = {{"UTF-16BE", 100, 85, Utf16<true>},
                                      {"UTF-16LE", 100, 85, Utf16<false>}};
constexpr FixedRecognizer kEscapes[] = {
    {"ISO-2022-CN", 0, 100, Escape<EscapeCharset::kIso2022Cn>},
    {"ISO-2022-JP", 0, 100, Escape<EscapeCharset::kIso2022Jp>},
    {"ISO-2022-KR", 0, 100, Escape<EscapeCharset::kIso2022Kr>},
};
constexpr FixedRecognizer kDoubleBytes[] = {
    {"Big5", 0, 100, DoubleByte<DoubleByteCharset::kBig5, CommonCharsId::kBig5>},
    {"EUC-JP", 0, 100, DoubleByte<DoubleByteCharset::kEucJp, CommonCharsId::kEucJp>},
    {"EUC-KR", 0, 100, DoubleByte<DoubleByteCharset::kEucKr, CommonCharsId::kEucKr>},
    {"GB18030", 0, 100, DoubleByte<DoubleByteCharset::kGb18030, CommonCharsId::kGb18030>},
    {"Shift_JIS", 0, 100, DoubleByte<DoubleByteCharset::kShiftJis, CommonCharsId::kShiftJis>},
};

void Add(CharsetCandidateList& list, const FixedRecognizer& r, const SampleFacts& sample) {
  list.Add(r.confidence(sample), r.weight, r.name);
}

// The best candidate so far. A recognizer whose best possible candidate
// would not come first need not run: the result is the same as sorting the
// full list.
class BestCandidate {
 public:
  bool CanBeat(int32_t confidence, int32_t weight, const char* name) const {
    return !found_ || PrecedesCandidate({confidence, weight, name}, best_);
  }
  void Offer(int32_t confidence, int32_t weight, const char* name) {
    if (confidence > 0 && CanBeat(confidence, weight, name)) {
      best_ = {confidence, weight, name};
      found_ = true;
    }
  }
  // The lowest confidence with which a candidate would come first.
  int32_t Need(int32_t weight, const char* name) const {
    if (!found_) return 1;
    return best_.confidence + (CanBeat(best_.confidence, weight, name) ? 0 : 1);
  }
  void Try(const FixedRecognizer& r, const SampleFacts& sample) {
    if (CanBeat(r.highest, r.weight, r.name)) Offer(r.confidence(sample), r.weight, r.name);
  }
  bool found() const { return found_; }
  const char* name() const { return best_.name; }

 private:
  CharsetCandidate best_{0, 0, ""};
  bool found_ = false;
};

// The single-byte members from the one that would win a tie down, so that
// once one is sure (99) the rest can be passed over. The order depends on
// the sample only through its names, so there are two, worked out once.
using TieOrder = std::array<size_t, kSingleByteRecognizerCount>;

TieOrder TieOrderOf(bool c1Bytes) {
  TieOrder order;
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [c1Bytes](size_t a, size_t b) {
    return PrecedesCandidate({99, kSingleByteRecognizers[a].weight, SingleByteName(a, c1Bytes)},
                             {99, kSingleByteRecognizers[b].weight, SingleByteName(b, c1Bytes)});
  });
  return order;
}

const TieOrder& SingleByteTieOrder(const SampleFacts& sample) {
  static const TieOrder withC1 = TieOrderOf(true);
  static const TieOrder withoutC1 = TieOrderOf(false);
  return sample.c1Bytes ? withC1 : withoutC1;
}

// 7-bit text without zero bytes or escapes, which most mail is: the 7-bit
// candidate (75) comes before UTF-8 (20 at most without high bytes), UTF-16
// (50 at most: without a zero byte no unit is 7-bit), the double-byte family
// (10 at most without lead bytes) and the escapes (none without ESC). Only a
// single-byte member under another name could still come first.
bool SevenBitTextWins(const SampleFacts& sample) {
  if (sample.highBytes || sample.zeros != 0 || sample.escapes) return false;
  static const SevenBitRivals rivals(kSevenBit.name);
  CharsetCandidate sevenBit{kSevenBit.confidence(sample), kSevenBit.weight, kSevenBit.name};
  return rivals.AllBehind(sample, sevenBit);
}

}  // namespace

CharsetCandidateList DetectCharsetCandidates(const uint8_t* sample, size_t length) {
  CharsetCandidateList candidates;
  if (sample == nullptr || length == 0) return candidates;
  SampleFacts facts = SurveySample(sample, length);
  Add(candidates, kSevenBit, facts);
  Add(candidates, kUtf8, facts);
  for (const FixedRecognizer& r : kUtf16) Add(candidates, r, facts);
  AddSingleByteCandidates(facts, candidates);
  for (const FixedRecognizer& r : kEscapes) Add(candidates, r, facts);
  for (const FixedRecognizer& r : kDoubleBytes) Add(candidates, r, facts);
  candidates.Sort();
  return candidates;
}

const char* ConverterNameOf(const char* candidateName) {
  // ICU knows EBCDIC Hebrew only as IBM424; the text order the recognizer
  // found does not change the decoding.
  if (std::strcmp(candidateName, "IBM424_ltr") == 0) return "IBM424";
  if (std::strcmp(candidateName, "IBM424_rtl") == 0) return "IBM424";
  return candidateName;
}

bool DetectCharset(const uint8_t* sample, size_t length, char (&name)[kEncodingNameCapacity]) {
  if (sample == nullptr || length == 0) return false;
  SampleFacts facts = SurveySample(sample, length);
  if (SevenBitTextWins(facts)) {
    std::strcpy(name, ConverterNameOf(kSevenBit.name));
    return true;
  }
  BestCandidate best;
  // The cheap recognizers, and those that can reach 100, first. UTF-8 at 100
  // (a valid sample with a multi-byte character) comes first by its weight
  // as well, so every later recognizer is passed over.
  best.Try(kUtf8, facts);
  for (const FixedRecognizer& r : kEscapes) best.Try(r, facts);
  best.Try(kSevenBit, facts);
  for (const FixedRecognizer& r : kDoubleBytes) best.Try(r, facts);
  SingleByteScorer scorer(facts);
  // A member below 99 loses to any that is sure, so its exact confidence is
  // needed only when none is; until then it waits.
  struct Waiting {
    size_t member;
    int32_t low;
  };
  Waiting waiting[kSingleByteRecognizerCount];
  size_t waitingCount = 0;
  for (size_t member : SingleByteTieOrder(facts)) {
    int32_t weight = kSingleByteRecognizers[member].weight;
    // The tie order makes every later member unable to win as well.
    if (!best.CanBeat(99, weight, scorer.Name(member))) break;
    ConfidenceRange range = scorer.Narrow(member, 99);
    if (range.low == range.high) {
      best.Offer(range.low, weight, scorer.Name(member));
    } else {
      waiting[waitingCount++] = {member, range.low};
    }
  }
  // The surest first: once it is best, the others have more to beat and
  // their passes stop sooner.
  std::stable_sort(waiting, waiting + waitingCount,
                   [](const Waiting& a, const Waiting& b) { return a.low > b.low; });
  for (size_t i = 0; i < waitingCount; ++i) {
    size_t member = waiting[i].member;
    int32_t weight = kSingleByteRecognizers[member].weight;
    ConfidenceRange range = scorer.Narrow(member, best.Need(weight, scorer.Name(member)));
    if (range.low == range.high) best.Offer(range.low, weight, scorer.Name(member));
  }
  // Last, as any sure single-byte candidate (99) rules them out.
  for (const FixedRecognizer& r : kUtf16) best.Try(r, facts);
  if (!best.found()) return false;
  std::strncpy(name, ConverterNameOf(best.name()), kEncodingNameCapacity - 1);
  name[kEncodingNameCapacity - 1] = 0;
  return true;
}

}  // namespace Nimbra::Lexora
