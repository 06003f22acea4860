#include "engine/input/charset_detector.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/input/charset/double_byte_recognizers.h"
#include "engine/input/charset/escape_recognizers.h"
#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/single_byte_recognizers.h"
#include "engine/input/charset/unicode_recognizers.h"

namespace Nimbra::Lexora {
namespace {

struct DoubleByteMember {
  DoubleByteCharset charset;
  CommonCharsId commonChars;
  const char* name;
};

constexpr DoubleByteMember kDoubleByteMembers[] = {
    {DoubleByteCharset::kBig5, CommonCharsId::kBig5, "Big5"},
    {DoubleByteCharset::kEucJp, CommonCharsId::kEucJp, "EUC-JP"},
    {DoubleByteCharset::kEucKr, CommonCharsId::kEucKr, "EUC-KR"},
    {DoubleByteCharset::kGb18030, CommonCharsId::kGb18030, "GB18030"},
    {DoubleByteCharset::kShiftJis, CommonCharsId::kShiftJis, "Shift_JIS"},
};

}  // namespace

CharsetCandidateList DetectCharsetCandidates(const uint8_t* sample, size_t length) {
  CharsetCandidateList candidates;
  if (sample == nullptr || length == 0) return candidates;
  SampleFacts facts = SurveySample(sample, length);
  candidates.Add(SevenBitConfidence(facts), 0, "ISO-8859-1");
  candidates.Add(Utf8Confidence(facts), 100, "UTF-8");
  candidates.Add(Utf16Confidence(facts, true), 100, "UTF-16BE");
  candidates.Add(Utf16Confidence(facts, false), 100, "UTF-16LE");
  AddSingleByteCandidates(facts, candidates);
  candidates.Add(EscapeConfidence(facts, EscapeCharset::kIso2022Cn), 0, "ISO-2022-CN");
  candidates.Add(EscapeConfidence(facts, EscapeCharset::kIso2022Jp), 0, "ISO-2022-JP");
  candidates.Add(EscapeConfidence(facts, EscapeCharset::kIso2022Kr), 0, "ISO-2022-KR");
  for (const DoubleByteMember& m : kDoubleByteMembers) {
    candidates.Add(DoubleByteConfidence(facts, m.charset, CommonChars(m.commonChars)), 0, m.name);
  }
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

namespace {

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
  bool found() const { return found_; }
  const char* name() const { return best_.name; }

 private:
  CharsetCandidate best_{0, 0, ""};
  bool found_ = false;
};

// The single-byte members from the one that would win a tie down, so that
// once one is sure (99) the rest can be passed over.
std::array<size_t, kSingleByteRecognizerCount> SingleByteTieOrder(const SingleByteScorer& s) {
  std::array<size_t, kSingleByteRecognizerCount> order;
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&s](size_t a, size_t b) {
    return PrecedesCandidate({99, kSingleByteRecognizers[a].weight, s.Name(a)},
                             {99, kSingleByteRecognizers[b].weight, s.Name(b)});
  });
  return order;
}

}  // namespace

bool DetectCharset(const uint8_t* sample, size_t length, char (&name)[kEncodingNameCapacity]) {
  if (sample == nullptr || length == 0) return false;
  SampleFacts facts = SurveySample(sample, length);
  BestCandidate best;
  // The cheap recognizers, and those that can reach 100, first.
  best.Offer(Utf8Confidence(facts), 100, "UTF-8");
  constexpr struct {
    EscapeCharset charset;
    const char* name;
  } kEscapes[] = {{EscapeCharset::kIso2022Cn, "ISO-2022-CN"},
                  {EscapeCharset::kIso2022Jp, "ISO-2022-JP"},
                  {EscapeCharset::kIso2022Kr, "ISO-2022-KR"}};
  for (const auto& e : kEscapes) {
    if (best.CanBeat(100, 0, e.name)) best.Offer(EscapeConfidence(facts, e.charset), 0, e.name);
  }
  if (best.CanBeat(75, 0, "ISO-8859-1")) best.Offer(SevenBitConfidence(facts), 0, "ISO-8859-1");
  for (const DoubleByteMember& m : kDoubleByteMembers) {
    if (best.CanBeat(100, 0, m.name)) {
      best.Offer(DoubleByteConfidence(facts, m.charset, CommonChars(m.commonChars)), 0, m.name);
    }
  }
  SingleByteScorer scorer(facts);
  for (size_t member : SingleByteTieOrder(scorer)) {
    int32_t weight = kSingleByteRecognizers[member].weight;
    // The tie order makes every later member unable to win as well.
    if (!best.CanBeat(99, weight, scorer.Name(member))) break;
    best.Offer(scorer.Confidence(member), weight, scorer.Name(member));
  }
  // Last, as any sure single-byte candidate (99) rules them out.
  if (best.CanBeat(85, 100, "UTF-16BE")) best.Offer(Utf16Confidence(facts, true), 100, "UTF-16BE");
  if (best.CanBeat(85, 100, "UTF-16LE")) best.Offer(Utf16Confidence(facts, false), 100, "UTF-16LE");
  if (!best.found()) return false;
  std::strncpy(name, ConverterNameOf(best.name()), kEncodingNameCapacity - 1);
  name[kEncodingNameCapacity - 1] = 0;
  return true;
}

}  // namespace Nimbra::Lexora
