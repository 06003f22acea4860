// The character property set of the Unicode recognizers: the assigned,
// printable code points (white space included), taken from ICU's
// character properties by the data generator.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_VALID_CODE_POINTS_H
#define LEXORA_ENGINE_INPUT_CHARSET_VALID_CODE_POINTS_H

#include <cstdint>

#include "engine/input/charset/trained_data.h"

namespace Nimbra::Lexora {

bool IsValidSupplementaryCodePoint(uint32_t c);

// `bmp` is ValidBmpBitmap(), for loops that keep it at hand.
inline bool IsValidCodePoint(uint32_t c, const uint8_t* bmp) {
  if (c <= 0xFFFF) return (bmp[c >> 3] >> (c & 7)) & 1;
  return IsValidSupplementaryCodePoint(c);
}

inline bool IsValidCodePoint(uint32_t c) {
  return IsValidCodePoint(c, ValidBmpBitmap());
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_VALID_CODE_POINTS_H
