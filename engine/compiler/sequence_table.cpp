#include "engine/compiler/sequence_table.h"

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

SequenceTable::SequenceTable() {
  for (int16_t key = 0; key < 4; ++key) keyColumns_.Set(static_cast<char16_t>(key), key);
  rows_.emplace_back(columnCount_, kNoState);
}

uint16_t SequenceTable::Step(uint16_t state, uint32_t id) {
  uint32_t key = id + kKeyOffset;
  if (id > kMaxKey - kKeyOffset)
    throw RuntimeError(u"Exceeded maximum limit of id's for sequences");
  if (keyColumns_[static_cast<char16_t>(key)] < 0) {
    keyColumns_.Set(static_cast<char16_t>(key), static_cast<int16_t>(columnCount_++));
    for (std::vector<uint16_t>& row : rows_) row.push_back(kNoState);
  }
  uint16_t& cell = rows_.at(state)[static_cast<size_t>(keyColumns_[static_cast<char16_t>(key)])];
  if (cell != kNoState) return cell;
  if (rows_.size() + 1 > kMaxStates) {
    throw RuntimeError(u"Script too big, exceeded maximum number of sequence states");
  }
  uint16_t created = static_cast<uint16_t>(rows_.size());
  rows_[state][static_cast<size_t>(keyColumns_[static_cast<char16_t>(key)])] = created;
  rows_.emplace_back(columnCount_, kNoState);
  return created;
}

SequenceTable::Registration SequenceTable::Register(uint16_t finalState, uint32_t elementCount,
                                                    std::u16string_view text, uint32_t nextId) {
  auto it = accepts_.find(finalState);
  if (it != accepts_.end()) return {it->second.id, false};
  accepts_.emplace(finalState, Accept{elementCount, nextId});
  phrases_.emplace_back(text);
  return {nextId, true};
}

const SequenceTable::Accept* SequenceTable::AcceptOf(uint16_t state) const {
  auto it = accepts_.find(state);
  return it == accepts_.end() ? nullptr : &it->second;
}

}  // namespace Nimbra::Lexora
