// The detector's trained data, built by tools/charset-train and embedded
// from data/charset at build time.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_TRAINED_DATA_H
#define LEXORA_ENGINE_INPUT_CHARSET_TRAINED_DATA_H

#include <cstddef>
#include <cstdint>

#include "engine/input/charset/trigram_table.h"

namespace Nimbra::Lexora {

enum class CharMapId : uint8_t {
  kLatin1,
  kLatin2,
  kIso8859_5,
  kIso8859_6,
  kIso8859_7,
  kIso8859_8,
  kIso8859_9,
  kWindows1251,
  kWindows1256,
  kKoi8R,
  kIbm424,
};
inline constexpr size_t kCharMapCount = 11;

enum class TrigramTableId : uint8_t {
  kDanish,
  kGerman,
  kEnglish,
  kSpanish,
  kFrench,
  kItalian,
  kDutch,
  kNorwegian,
  kPortuguese,
  kSwedish,
  kCzech,
  kHungarian,
  kPolish,
  kRomanian,
  kRussianIso8859_5,
  kArabicIso8859_6,
  kGreek,
  kHebrewVisual,
  kHebrewLogical,
  kTurkish,
  kRussianWindows1251,
  kArabicWindows1256,
  kRussianKoi8R,
  kHebrewIbm424Visual,
  kHebrewIbm424Logical,
};
inline constexpr size_t kTrigramTableCount = 25;

enum class CommonCharsId : uint8_t { kBig5, kEucJp, kEucKr, kGb18030, kShiftJis };
inline constexpr size_t kCommonCharsCount = 5;

struct ByteSpan {
  const uint8_t* data;
  size_t size;
};

// 256 bytes: each byte's lower-case letter, space or 0.
const uint8_t* CharMap(CharMapId id);
// kTrigramTableSize bytes, in the shape of trigram_table.h.
const uint8_t* TrigramTable(TrigramTableId id);
// A 256-entry first level (bitmap number per lead byte, from 1) and then
// 256-bit bitmaps indexed by the trail byte.
ByteSpan CommonChars(CommonCharsId id);
// One bit per BMP code point, least significant bit first: 8,192 bytes.
const uint8_t* ValidBmpBitmap();
// Sorted, disjoint {first, last} pairs of code points above U+FFFF, as
// little-endian 32-bit numbers.
ByteSpan ValidSupplementaryRanges();

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_TRAINED_DATA_H
