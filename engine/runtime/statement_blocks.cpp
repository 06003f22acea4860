#include "engine/runtime/statement_blocks.h"

#include <algorithm>

namespace Nimbra::Lexora {

// The block must end in a store of an unnamed statement (a named one keeps
// its value for later statements), keep its jumps inside itself, and leave
// the stack as deep as it found it without reaching below it.
bool StatementBlocks::IsPassable(const Program& program, uint32_t begin, uint32_t end) {
  const std::vector<Instruction>& code = program.code();
  const uint32_t statement = code[end - 1].statement();
  if (statement >= program.statementCount() || !program.Options(statement).name.empty()) {
    return false;
  }
  int depth = 0;
  for (uint32_t a = begin; a + 1 < end; ++a) {
    const Instruction& in = code[a];
    const OpcodeInfo& info = InfoOf(in.opcode);
    if (!info.nothingFromNothing || (in.opcode == kOpInstances && in.count() <= 0)) return false;
    if (in.opcode == kOpLoad && in.identifier() >= program.identifierCount()) return false;
    if (info.IsJump() && (in.target() <= a || in.target() >= end)) return false;
    depth += info.stackEffect;
    if (depth < 1) return false;
  }
  return depth == 1;
}

StatementBlocks::StatementBlocks(const Program& program)
    : firstOf_(program.identifierCount() + 1, 0) {
  const std::vector<Instruction>& code = program.code();
  std::vector<std::pair<uint32_t, uint32_t>> loads;  // {identifier, block}
  uint32_t begin = 0;
  for (uint32_t a = 0; a < code.size(); ++a) {
    if (code[a].opcode != kOpStore) continue;
    uint32_t end = a + 1;
    if (IsPassable(program, begin, end)) {
      uint32_t b = static_cast<uint32_t>(blocks_.size());
      blocks_.push_back({begin, end});
      for (uint32_t i = begin; i < a; ++i) {
        if (code[i].opcode == kOpLoad) loads.push_back({code[i].identifier(), b});
      }
    }
    begin = end;
  }
  std::sort(loads.begin(), loads.end());
  loads.erase(std::unique(loads.begin(), loads.end()), loads.end());
  for (const auto& [id, block] : loads) ++firstOf_[id + 1];
  for (size_t i = 1; i < firstOf_.size(); ++i) firstOf_[i] += firstOf_[i - 1];
  for (const auto& load : loads) readers_.push_back(load.second);
  live_.assign(blocks_.size(), 0);
  runEnd_.assign(blocks_.size(), 0);
  for (size_t b = blocks_.size(); b-- > 0;) {
    bool joined = b + 1 < blocks_.size() && blocks_[b + 1].begin == blocks_[b].end;
    runEnd_[b] = joined ? runEnd_[b + 1] : static_cast<uint32_t>(b + 1);
  }
}

size_t StatementBlocks::PassFrom(size_t block, uint32_t& address) {
  const uint32_t runEnd = runEnd_[block];
  // A walk goes forward, so the first live block after `block` is found by
  // moving a cursor, not by a search each time.
  if (liveCursor_ > 0 && liveList_[liveCursor_ - 1] > block) {
    liveCursor_ = static_cast<size_t>(std::upper_bound(liveList_.begin(), liveList_.end(), block) -
                                      liveList_.begin());
  }
  while (liveCursor_ < liveList_.size() && liveList_[liveCursor_] <= block) ++liveCursor_;
  if (liveCursor_ < liveList_.size() && liveList_[liveCursor_] < runEnd) {
    address = blocks_[liveList_[liveCursor_]].begin;
    return liveList_[liveCursor_];
  }
  address = blocks_[runEnd - 1].end;
  return runEnd;
}

void StatementBlocks::MarkLive(std::span<const uint32_t> matchedIdentifiers) {
  if (++generation_ == 0) {  // wrapped: no block may read as live from long ago
    std::fill(live_.begin(), live_.end(), 0);
    generation_ = 1;
  }
  liveList_.clear();
  liveCursor_ = 0;
  for (uint32_t id : matchedIdentifiers) {
    if (id + 1 >= firstOf_.size()) continue;
    for (uint32_t r = firstOf_[id]; r < firstOf_[id + 1]; ++r) {
      uint32_t block = readers_[r];
      if (live_[block] == generation_) continue;
      live_[block] = generation_;
      liveList_.push_back(block);
    }
  }
  std::sort(liveList_.begin(), liveList_.end());
}

}  // namespace Nimbra::Lexora
