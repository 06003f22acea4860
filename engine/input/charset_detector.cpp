#include "engine/input/charset_detector.h"

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

bool DetectCharset(const uint8_t* sample, size_t length, char (&name)[kEncodingNameCapacity]) {
  CharsetCandidateList candidates = DetectCharsetCandidates(sample, length);
  if (candidates.empty()) return false;
  const char* best = ConverterNameOf(candidates[0].name);
  std::strncpy(name, best, kEncodingNameCapacity - 1);
  name[kEncodingNameCapacity - 1] = 0;
  return true;
}

}  // namespace Nimbra::Lexora
