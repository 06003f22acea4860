// The sequence automaton: one trie over word identifiers for all phrases of
// a script, whose accepting states carry the phrase's identifier.
#ifndef LEXORA_ENGINE_COMPILER_SEQUENCE_TABLE_H
#define LEXORA_ENGINE_COMPILER_SEQUENCE_TABLE_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compiler/column_map.h"

namespace Nimbra::Lexora {

class SequenceTable {
 public:
  static constexpr uint16_t kNoState = 0xFFFF;
  // Keys 0-3 are reserved and own columns 0-3, which no phrase uses; the key
  // of identifier id is id + 4.
  static constexpr uint32_t kKeyOffset = 4;
  static constexpr uint32_t kMaxKey = 0x7FFE;
  static constexpr uint32_t kMaxStates = 32766;

  struct Accept {
    uint32_t elementCount;
    uint32_t id;
  };
  struct Registration {
    uint32_t id;
    bool added;
  };

  SequenceTable();

  // The state after `id` from `state`, created when missing.
  uint16_t Step(uint16_t state, uint32_t id);
  // Gives the final state the identifier `nextId` unless it has one.
  Registration Register(uint16_t finalState, uint32_t elementCount, std::u16string_view text,
                        uint32_t nextId);

  // -1 when the key has no column.
  int32_t ColumnOfKey(uint32_t key) const {
    return key <= kMaxKey ? keyColumns_[static_cast<char16_t>(key)] : -1;
  }
  uint16_t Cell(uint16_t state, int32_t column) const { return rows_[state][column]; }
  uint32_t stateCount() const { return static_cast<uint32_t>(rows_.size()); }
  // Null when the state accepts no phrase.
  const Accept* AcceptOf(uint16_t state) const;
  const std::vector<std::u16string>& phrases() const { return phrases_; }

 private:
  ColumnMap keyColumns_;
  uint16_t columnCount_ = 4;
  std::vector<std::vector<uint16_t>> rows_;
  std::map<uint16_t, Accept> accepts_;
  std::vector<std::u16string> phrases_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_SEQUENCE_TABLE_H
