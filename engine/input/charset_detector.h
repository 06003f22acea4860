// Statistical charset detection over a file's first bytes.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_DETECTOR_H
#define LEXORA_ENGINE_INPUT_CHARSET_DETECTOR_H

#include <cstddef>
#include <cstdint>

#include "engine/input/charset/candidate_list.h"
#include "engine/input/charset_sniffer.h"

namespace Nimbra::Lexora {

// Every recognizer's candidate for the sample, best first.
CharsetCandidateList DetectCharsetCandidates(const uint8_t* sample, size_t length);

// The name under which ICU opens a converter for a candidate's name.
const char* ConverterNameOf(const char* candidateName);

// True and the best candidate's name, false when no recognizer has one.
bool DetectCharset(const uint8_t* sample, size_t length, char (&name)[kEncodingNameCapacity]);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_DETECTOR_H
