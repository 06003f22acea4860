#include "engine/input/charset/trigram_index.h"

#include <array>

#include "engine/input/charset/single_byte_recognizers.h"

namespace Nimbra::Lexora {

TrigramIndex::TrigramIndex(const uint8_t* map, uint8_t space, const uint8_t* const* tables,
                           size_t tableCount)
    : tableCount_(tableCount) {
  // Dense numbering of the map's characters, with the map's value of each.
  std::array<uint8_t, 256> value{};
  std::array<int, 256> codeOfValue;
  codeOfValue.fill(-1);
  codeOfValue[0] = kZero;
  codeOfValue[space] = kSpace;
  value[kSpace] = space;
  alphabet_ = 2;
  for (int b = 1; b < 256; ++b) {
    uint8_t v = map[b];
    if (codeOfValue[v] < 0) {
      codeOfValue[v] = static_cast<int>(alphabet_);
      value[alphabet_++] = v;
    }
    code_[b] = static_cast<uint8_t>(codeOfValue[v]);
  }
  code_[0] = kZero;
  for (int b = 0; b < 256; ++b) pairKey_[b] = code_[b] | (code_[b] * alphabet_) << 8;
  pairSlot_.assign(static_cast<size_t>(alphabet_) * alphabet_, 0);
  masks_.assign(alphabet_, 0);  // slot 0: nothing known
  for (uint32_t a = 1; a < alphabet_; ++a) {
    for (uint32_t b = 0; b < alphabet_; ++b) {
      size_t slot = masks_.size() / alphabet_;
      bool any = false;
      // Per table, the thirds it knows after {a, b}: most pairs have none.
      const uint8_t* thirds[kMaxTables];
      bool someThirds = false;
      for (size_t t = 0; t < tableCount; ++t) {
        thirds[t] = TrigramTableThirds(tables[t], value[a], value[b]);
        someThirds |= thirds[t] != nullptr;
      }
      for (uint32_t c = 0; someThirds && c < alphabet_; ++c) {
        uint16_t mask = 0;
        for (size_t t = 0; t < tableCount; ++t) {
          bool knows = thirds[t] && (thirds[t][value[c] >> 3] >> (value[c] & 7)) & 1;
          mask |= static_cast<uint16_t>(knows << t);
        }
        placeTables_[0][a] |= mask;
        placeTables_[1][b] |= mask;
        placeTables_[2][c] |= mask;
        if (mask != 0 && !any) {
          any = true;
          masks_.resize(masks_.size() + alphabet_, 0);
        }
        if (any) masks_[slot * alphabet_ + c] = mask;
      }
      if (any) pairSlot_[a * alphabet_ + b] = static_cast<uint32_t>(slot * alphabet_);
    }
  }
  if (tableCount != 1) return;
  // One table needs a byte per trigram, not a mask: half the size, and the
  // pass adds it as it is.
  known_.assign(masks_.begin(), masks_.end());
  masks_.clear();
  masks_.shrink_to_fit();
}

bool SameSpaces(const TrigramIndex& a, const TrigramIndex& b) {
  for (int byte = 0; byte < 256; ++byte) {
    bool spaceA = a.Code(static_cast<uint8_t>(byte)) == TrigramIndex::kSpace;
    if (spaceA != (b.Code(static_cast<uint8_t>(byte)) == TrigramIndex::kSpace)) return false;
  }
  return true;
}

const TrigramIndex& TrigramIndexFor(CharMapId map) {
  // Built on first use; C++ makes the construction thread-safe.
  static const std::vector<TrigramIndex> indexes = [] {
    std::vector<TrigramIndex> all;
    all.reserve(kCharMapCount);
    for (size_t m = 0; m < kCharMapCount; ++m) {
      const uint8_t* tables[TrigramIndex::kMaxTables];
      size_t count = 0;
      uint8_t space = 0x20;
      for (const SingleByteRecognizer& r : kSingleByteRecognizers) {
        if (static_cast<size_t>(r.map) != m) continue;
        space = r.space;
        for (size_t t = 0; t < r.tableCount && count < TrigramIndex::kMaxTables; ++t) {
          tables[count++] =
              TrigramTable(static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t));
        }
      }
      all.emplace_back(CharMap(static_cast<CharMapId>(m)), space, tables, count);
      size_t group = m;
      for (size_t k = 0; k < m && group == m; ++k) {
        if (SameSpaces(all[k], all[m])) group = all[k].spaceGroup();
      }
      all[m].set_spaceGroup(group);
    }
    return all;
  }();
  return indexes[static_cast<size_t>(map)];
}

}  // namespace Nimbra::Lexora
