#include "engine/input/charset/sample_facts.h"

namespace Nimbra::Lexora {

SampleFacts SurveySample(const uint8_t* bytes, size_t length) {
  SampleFacts facts;
  facts.bytes = bytes;
  facts.length = length;
  uint32_t zeros = 0;
  uint32_t high = 0;
  uint32_t c1 = 0;
  uint32_t escapes = 0;
  // Branch-free counting keeps this pass at memory speed.
  for (size_t i = 0; i < length; ++i) {
    uint8_t b = bytes[i];
    zeros += b == 0;
    high |= b & 0x80;
    c1 |= (b & 0xE0) == 0x80;
    escapes |= b == 0x1B;
  }
  facts.zeros = zeros;
  facts.nonZeros = static_cast<uint32_t>(length) - zeros;
  facts.highBytes = high != 0;
  facts.c1Bytes = c1 != 0;
  facts.escapes = escapes != 0;
  return facts;
}

}  // namespace Nimbra::Lexora
