// Maps a code unit to its alphabet column, -1 outside the alphabet, for the
// word automata. Two levels: 256 pages of 256 units, every page without an
// alphabet character sharing one page of -1. A script's alphabet lies in a
// few pages, so a map costs a few kilobytes instead of a flat 128 KB per
// automaton, for one extra (cached) load per lookup.
#ifndef LEXORA_ENGINE_COMPILER_COLUMN_MAP_H
#define LEXORA_ENGINE_COMPILER_COLUMN_MAP_H

#include <array>
#include <cstdint>
#include <vector>

namespace Nimbra::Lexora {

class ColumnMap {
 public:
  ColumnMap() { Clear(); }

  int16_t operator[](char16_t unit) const { return pages_[pageOf_[unit >> 8]][unit & 0xFF]; }

  void Clear() {
    pageOf_.fill(0);
    pages_.assign(1, Page{});
    pages_[0].fill(-1);
  }
  void Set(char16_t unit, int16_t column) {
    uint16_t& page = pageOf_[unit >> 8];
    if (page == 0) {
      page = static_cast<uint16_t>(pages_.size());
      pages_.push_back(pages_[0]);
    }
    pages_[page][unit & 0xFF] = column;
  }

 private:
  using Page = std::array<int16_t, 256>;
  std::array<uint16_t, 256> pageOf_;  // 0: the shared page outside the alphabet
  std::vector<Page> pages_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_COLUMN_MAP_H
