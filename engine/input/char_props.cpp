#include "engine/input/char_props.h"

#include <algorithm>
#include <mutex>
#include <vector>

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

// The units that fold to another unit, ordered by their folded form.
std::vector<char16_t> g_foldTargets;
std::vector<char16_t> g_foldSources;

}  // namespace

void BuildCharPropsTable() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (UChar32 c = 0; c < 0x10000; ++c) g_charProps[c] = ComputeProps(c);
    std::vector<std::pair<char16_t, char16_t>> folds;
    for (uint32_t c = 0; c < 0x10000; ++c) {
      if (g_charProps[c].folded != c) folds.push_back({g_charProps[c].folded, char16_t(c)});
    }
    std::sort(folds.begin(), folds.end());
    for (auto [target, source] : folds) {
      g_foldTargets.push_back(target);
      g_foldSources.push_back(source);
    }
  });
}

std::span<const char16_t> UnitsFoldingTo(char16_t folded) {
  auto [first, last] = std::equal_range(g_foldTargets.begin(), g_foldTargets.end(), folded);
  return std::span<const char16_t>(g_foldSources)
      .subspan(static_cast<size_t>(first - g_foldTargets.begin()),
               static_cast<size_t>(last - first));
}

}  // namespace Nimbra::Lexora
