#include "engine/base/char_props.h"

#include <mutex>

#include <unicode/uchar.h>

namespace Nimbra::Lexora {

CharProps g_charProps[65536];

namespace {

CharProps ComputeProps(UChar32 c) {
  if (!u_isdefined(c)) return {static_cast<uint16_t>(c), 1, 0};
  uint8_t bits = kPropDefined;
  if (u_isspace(c)) bits |= kPropSpace;
  if (u_isdigit(c)) bits |= kPropDigit;
  if (u_isalpha(c)) bits |= kPropAlpha;
  if (u_hasBinaryProperty(c, UCHAR_IDEOGRAPHIC)) bits |= kPropIdeographic;
  if (u_hasBinaryProperty(c, UCHAR_DIACRITIC) || u_hasBinaryProperty(c, UCHAR_EXTENDER)) {
    bits |= kPropDiacriticOrExtender;
  }
  constexpr uint8_t kWordBits =
      kPropDigit | kPropAlpha | kPropIdeographic | kPropDiacriticOrExtender;
  uint8_t other = (bits & kWordBits) ? 0 : 1;
  UChar32 folded = u_foldCase(c, U_FOLD_CASE_DEFAULT);
  // A BMP character folds within the BMP; keep the unit itself otherwise.
  uint16_t folded16 = folded <= 0xFFFF ? static_cast<uint16_t>(folded) : static_cast<uint16_t>(c);
  return {folded16, other, bits};
}

}  // namespace

void BuildCharPropsTable() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (UChar32 c = 0; c < 0x10000; ++c) g_charProps[c] = ComputeProps(c);
  });
}

}  // namespace Nimbra::Lexora
