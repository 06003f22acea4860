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
bool IsCommonUtf16WhiteSpace(uint32_t c);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_UNICODE_RECOGNIZERS_H
