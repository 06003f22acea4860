// A per-character-map index over the trigram tables of every language that
// reads through that map: one lookup gives, for a trigram, the set of
// tables that know it. Built once from the tables, so it answers exactly
// as they do, but it is small enough to stay in cache and needs one lookup
// per trigram instead of one per language.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_TRIGRAM_INDEX_H
#define LEXORA_ENGINE_INPUT_CHARSET_TRIGRAM_INDEX_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/input/charset/trained_data.h"

namespace Nimbra::Lexora {

// Characters are renumbered densely: 0 is the map's 0, 1 its space, then
// the letters. Masks hold one bit per table, in the order of the tables.
class TrigramIndex {
 public:
  static constexpr size_t kMaxTables = 10;
  static constexpr uint8_t kZero = 0;
  static constexpr uint8_t kSpace = 1;

  TrigramIndex(const uint8_t* map, uint8_t space, const uint8_t* const* tables, size_t tableCount);

  // The dense character a byte maps to.
  uint8_t Code(uint8_t byte) const { return code_[byte]; }
  // The tables that know the trigram of dense characters {a, b, c}: the
  // pair's slot row (slot 0 knows nothing), then the third character.
  uint16_t Known(uint32_t a, uint32_t b, uint32_t c) const {
    uint32_t row = pairSlot_[a * alphabet_ + b];
    return known_.empty() ? masks_[row + c] : known_[row + c];
  }
  // The tables (a mask, as Known gives) that know some trigram with the
  // dense character `code` at `place`: 0 first, 1 second, 2 third.
  uint16_t TablesWith(size_t place, uint8_t code) const { return placeTables_[place][code]; }
  size_t tableCount() const { return tableCount_; }
  // Maps that read the same bytes as space drop the same bytes from the
  // window, so they can share that work; they share this number.
  size_t spaceGroup() const { return spaceGroup_; }

  // The same, in parts, for loops that keep them in registers.
  const uint8_t* codes() const { return code_; }
  // Per byte, its dense character in the low 8 bits and, above them, that
  // character times the alphabet: a pair's slot is at (first >> 8) + (second & 0xFF).
  const uint32_t* pairKeys() const { return pairKey_; }
  const uint32_t* pairSlots() const { return pairSlot_.data(); }
  // With several tables: per slot and third character, the mask of tables.
  const uint16_t* masks() const { return masks_.data(); }
  // With one table: per slot and third character, 1 when known.
  const uint8_t* known() const { return known_.data(); }
  uint32_t alphabet() const { return alphabet_; }
  void set_spaceGroup(size_t group) { spaceGroup_ = group; }

 private:
  uint8_t code_[256];
  uint32_t pairKey_[256];
  uint16_t placeTables_[3][256] = {};
  uint32_t alphabet_ = 0;
  size_t tableCount_ = 0;
  size_t spaceGroup_ = 0;
  // Per pair of characters, where its slot's row starts in masks_ or known_;
  // 0, the empty row, when no table knows the pair.
  std::vector<uint32_t> pairSlot_;
  std::vector<uint16_t> masks_;
  std::vector<uint8_t> known_;
};

// The index of one character map over the tables of its recognizers.
const TrigramIndex& TrigramIndexFor(CharMapId map);

// Whether two indexes read exactly the same bytes as space.
bool SameSpaces(const TrigramIndex& a, const TrigramIndex& b);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_TRIGRAM_INDEX_H
