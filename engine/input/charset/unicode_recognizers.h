// The recognizers of 7-bit text and of the Unicode encoding forms. Each
// returns its confidence, 0 to 100 (0: no candidate).
#ifndef LEXORA_ENGINE_INPUT_CHARSET_UNICODE_RECOGNIZERS_H
#define LEXORA_ENGINE_INPUT_CHARSET_UNICODE_RECOGNIZERS_H

#include <cstdint>

#include "engine/input/charset/sample_facts.h"

namespace Nimbra::Lexora {

int32_t SevenBitConfidence(const SampleFacts& sample);
int32_t Utf8Confidence(const SampleFacts& sample);
int32_t Utf16Confidence(const SampleFacts& sample, bool bigEndian);

// The 26 white-space code points that the UTF-16 recognizers count as common.
// Inline: the UTF-16 walks ask it of every unit.
inline bool IsCommonUtf16WhiteSpace(uint32_t c) {
  if (c < 0x80) return (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x20);
  return c == 0x85 || c == 0x1680 || c == 0x180E || (c >= 0x2002 && c <= 0x200A) || c == 0x2028 ||
         c == 0x2029 || c == 0x205F || c == 0x3000;
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_UNICODE_RECOGNIZERS_H
