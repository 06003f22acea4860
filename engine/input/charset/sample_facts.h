// Facts about a detection sample that several recognizers need; gathered in
// one pass so that each recognizer does not count them again.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_SAMPLE_FACTS_H
#define LEXORA_ENGINE_INPUT_CHARSET_SAMPLE_FACTS_H

#include <cstddef>
#include <cstdint>

namespace Nimbra::Lexora {

struct SampleFacts {
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  uint32_t zeros = 0;      // bytes equal to 0
  uint32_t nonZeros = 0;   // every other byte
  uint32_t highCount = 0;  // bytes 0x80 or above
  bool highBytes = false;  // some byte is 0x80 or above
  bool c1Bytes = false;    // some byte is in 0x80-0x9F
  bool escapes = false;    // some byte is 0x1B
};

SampleFacts SurveySample(const uint8_t* bytes, size_t length);

// Where the run of non-zero bytes below 0x80 that starts at `from` ends.
size_t AsciiRunEnd(const uint8_t* bytes, size_t from, size_t length);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_SAMPLE_FACTS_H
