// The shape of a trained trigram table and its lookup, shared by the
// detector and the table builder (tools/charset-train), so that both read
// the bytes alike. Depends on nothing else of the engine.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_TRIGRAM_TABLE_H
#define LEXORA_ENGINE_INPUT_CHARSET_TRIGRAM_TABLE_H

#include <cstddef>
#include <cstdint>

namespace Nimbra::Lexora {

// A 256-entry first level (row number per first character), rows of 256
// entries (bitmap number per second character) and 256-bit bitmaps (per
// third character) from kTrigramBitmapOffset on. Row and bitmap numbers
// count from 1; 0 means none.
inline constexpr size_t kTrigramTableSize = 66944;
inline constexpr size_t kTrigramBitmapOffset = 65760;
inline constexpr size_t kTrigramMaxBitmaps = (kTrigramTableSize - kTrigramBitmapOffset) / 32;
inline constexpr size_t kTrigramMaxRows = (kTrigramBitmapOffset - 256) / 256;

// The 256-bit set of third characters the table knows after the first two,
// or null when it knows none.
inline const uint8_t* TrigramTableThirds(const uint8_t* table, uint8_t first, uint8_t second) {
  uint32_t row = table[first];
  if (row == 0) return nullptr;
  uint32_t bitmap = table[256 * row + second];  // row r starts at byte 256 * r
  if (bitmap == 0) return nullptr;
  return table + kTrigramBitmapOffset + 32 * (bitmap - 1);
}

// Whether the table knows the trigram key (first character << 16 | second
// << 8 | third).
inline bool TrigramTableKnows(const uint8_t* table, uint32_t key) {
  const uint8_t* thirds = TrigramTableThirds(table, key >> 16, key >> 8 & 0xFF);
  uint32_t c = key & 0xFF;
  return thirds && (thirds[c >> 3] >> (c & 7)) & 1;
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_TRIGRAM_TABLE_H
