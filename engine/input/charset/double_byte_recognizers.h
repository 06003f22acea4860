// The double-byte recognizers (Big5, EUC-JP, EUC-KR, GB18030, Shift_JIS):
// one walk over the sample counting single-byte, double-byte, common and
// bad characters, then one score.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_DOUBLE_BYTE_RECOGNIZERS_H
#define LEXORA_ENGINE_INPUT_CHARSET_DOUBLE_BYTE_RECOGNIZERS_H

#include <cstdint>

#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/trained_data.h"

namespace Nimbra::Lexora {

enum class DoubleByteCharset : uint8_t { kBig5, kEucJp, kEucKr, kGb18030, kShiftJis };

struct DoubleByteCounts {
  int32_t zeros = 0;
  int32_t single = 0;
  int32_t doubleByte = 0;  // multi-byte characters of any length
  int32_t common = 0;
  int32_t bad = 0;
  bool rejected = false;
};

// `commonChars` may be empty; the confidence then rests on the share of
// double-byte characters.
int32_t DoubleByteConfidence(const DoubleByteCounts& counts, bool hasCommonChars);

int32_t DoubleByteConfidence(const SampleFacts& sample, DoubleByteCharset charset,
                             ByteSpan commonChars);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_DOUBLE_BYTE_RECOGNIZERS_H
