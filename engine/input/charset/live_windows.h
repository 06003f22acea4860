// Before any trigram is looked up, the windows of a sample's kept bytes that
// each table could know at all: a table knows a window only if each of its
// three characters holds that place in some trigram the table knows. Summed
// from each block of a pass to the end, they bound the hits a pass has still
// to find, and they give each map's number of trigrams in advance.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_LIVE_WINDOWS_H
#define LEXORA_ENGINE_INPUT_CHARSET_LIVE_WINDOWS_H

#include <cstddef>
#include <cstdint>

#include "engine/input/charset/field_spread.h"
#include "engine/input/charset/trained_data.h"

namespace Nimbra::Lexora {

class LiveWindows {
 public:
  // Windows per block: a pass looks at its bounds after each. Fewer looks
  // cost less than the windows a pass counts past the point it could stop;
  // a block's count must fit a byte.
  static constexpr size_t kBlock = 4 * kFieldMax;
  static constexpr size_t kMaxWindows = 4096;

  // Counts the windows ending at kept[2] .. kept[end - 1]; kept[0] and
  // kept[1] are the history before the first byte. At most kMaxWindows.
  void Count(const uint8_t* kept, size_t end);

  // From the block starting at window 2 + block * kBlock to the end: the
  // windows that the table could know, and the windows that count as the
  // map's trigrams.
  uint32_t Live(size_t block, TrigramTableId table) const {
    return FromBlock(block, static_cast<size_t>(table));
  }
  uint32_t Counted(size_t block, CharMapId map) const {
    return FromBlock(block, kTrigramTableCount + static_cast<size_t>(map));
  }

 private:
  // One lane per table, then one per map, in three vectors of sixteen.
  static constexpr size_t kLanes = 48;
  uint32_t FromBlock(size_t block, size_t lane) const {
    return before_[blocks_][lane] - before_[block][lane];
  }
  static constexpr size_t kMaxBlocks = (kMaxWindows + kBlock - 1) / kBlock;

  // Per lane, the windows in the blocks before each block.
  alignas(16) uint16_t before_[kMaxBlocks + 1][kLanes];
  size_t blocks_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_LIVE_WINDOWS_H
