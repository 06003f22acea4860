// The ISO-2022 recognizers: each is sure as soon as one of its designation
// sequences occurs in the sample.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_ESCAPE_RECOGNIZERS_H
#define LEXORA_ENGINE_INPUT_CHARSET_ESCAPE_RECOGNIZERS_H

#include <cstdint>

#include "engine/input/charset/sample_facts.h"

namespace Nimbra::Lexora {

enum class EscapeCharset : uint8_t { kIso2022Cn, kIso2022Jp, kIso2022Kr };

// 100 when one of the charset's sequences occurs, else 0.
int32_t EscapeConfidence(const SampleFacts& sample, EscapeCharset charset);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_ESCAPE_RECOGNIZERS_H
