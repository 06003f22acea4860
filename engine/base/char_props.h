// The character property table: one entry per BMP code unit, built from ICU
// once and read-only afterwards. Lexer, word finder, classes and converter
// test characters through it instead of calling ICU per code unit.
#ifndef LEXORA_ENGINE_BASE_CHAR_PROPS_H
#define LEXORA_ENGINE_BASE_CHAR_PROPS_H

#include <cstdint>

namespace Nimbra::Lexora {

struct CharProps {
  uint16_t folded;  // u_foldCase(c, 0); c itself when undefined
  uint8_t other;    // 1 unless digit, alphabetic, ideographic, diacritic or extender
  uint8_t bits;     // CharProp flags
};
static_assert(sizeof(CharProps) == 4);

enum CharProp : uint8_t {
  kPropDefined = 0x01,
  kPropSpace = 0x02,
  kPropDigit = 0x04,
  kPropAlpha = 0x08,
  kPropIdeographic = 0x10,
  kPropDiacriticOrExtender = 0x20,
};

extern CharProps g_charProps[65536];

// Fills the table. Safe to call from several threads; the work is done once
// per process, since every build writes the same values.
void BuildCharPropsTable();

inline const CharProps& PropsOf(char16_t c) {
  return g_charProps[c];
}
inline char16_t FoldUnit(char16_t c) {
  return g_charProps[c].folded;
}
inline bool IsSpaceUnit(char16_t c) {
  return g_charProps[c].bits & kPropSpace;
}
inline bool IsDigitUnit(char16_t c) {
  return g_charProps[c].bits & kPropDigit;
}
inline bool IsAlphaUnit(char16_t c) {
  return g_charProps[c].bits & kPropAlpha;
}
inline bool IsIdeographUnit(char16_t c) {
  return g_charProps[c].bits & kPropIdeographic;
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_CHAR_PROPS_H
