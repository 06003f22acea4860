// Several small tallies kept in one word: 6-bit fields, ten to a 64-bit
// word, so that one addition counts a whole mask of ten bits.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_FIELD_SPREAD_H
#define LEXORA_ENGINE_INPUT_CHARSET_FIELD_SPREAD_H

#include <cstddef>
#include <cstdint>

namespace Nimbra::Lexora {

inline constexpr int kFieldBits = 6;
inline constexpr size_t kFieldsPerWord = 10;
// Additions a word takes before a field can overflow.
inline constexpr uint32_t kFieldMax = (1u << kFieldBits) - 1;

// Per mask of ten bits, the word with a one in the field of each set bit.
struct FieldSpread {
  uint64_t of[1 << kFieldsPerWord];
  constexpr FieldSpread() : of() {
    for (uint32_t mask = 0; mask < (1u << kFieldsPerWord); ++mask) {
      for (size_t f = 0; f < kFieldsPerWord; ++f) {
        if (mask >> f & 1) of[mask] |= uint64_t{1} << (kFieldBits * f);
      }
    }
  }
};
inline constexpr FieldSpread kFieldSpread;

inline uint32_t FieldOf(uint64_t fields, size_t f) {
  return static_cast<uint32_t>(fields >> (kFieldBits * f)) & kFieldMax;
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_FIELD_SPREAD_H
