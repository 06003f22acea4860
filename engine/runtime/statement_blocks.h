// The statements of a program as blocks of code, so that the virtual machine
// can pass over a statement that cannot count a hit in this scan: one that
// reads only identifiers that matched nothing and whose every operator
// gives nothing from nothing. A script has hundreds of statements and a text
// matches few of them, so executing only those makes the machine's cost
// follow the matches instead of the script's size.
#ifndef LEXORA_ENGINE_RUNTIME_STATEMENT_BLOCKS_H
#define LEXORA_ENGINE_RUNTIME_STATEMENT_BLOCKS_H

#include <cstdint>
#include <span>
#include <vector>

#include "engine/compiler/program.h"

namespace Nimbra::Lexora {

class StatementBlocks {
 public:
  explicit StatementBlocks(const Program& program);

  // Before each execution: the blocks that read a matched identifier may
  // count hits and are executed.
  void MarkLive(std::span<const uint32_t> matchedIdentifiers);

  // The passable blocks, in address order. A block that is not live may be
  // passed over, from its first address to its end.
  size_t count() const { return blocks_.size(); }
  uint32_t BeginOf(size_t block) const { return blocks_[block].begin; }
  uint32_t EndOf(size_t block) const { return blocks_[block].end; }
  bool Live(size_t block) const { return live_[block] == generation_; }
  // Where a walk that meets `block` not live goes next: the first live block
  // after it, or the first address after the run of blocks that follow it
  // back to back, whichever comes first. Every block passed over is not
  // live. Returns the block the walk stands at and sets `address`.
  size_t PassFrom(size_t block, uint32_t& address);

 private:
  struct Block {
    uint32_t begin;
    uint32_t end;  // the address after its store
  };

  // A block is passable when, given only unmatched identifiers, it leaves
  // the hit counter, the stored results and the stack as it found them.
  static bool IsPassable(const Program& program, uint32_t begin, uint32_t end);

  std::vector<Block> blocks_;
  std::vector<uint32_t> firstOf_;   // per identifier: its range in readers_
  std::vector<uint32_t> readers_;   // passable blocks that load each identifier
  std::vector<uint32_t> live_;      // per block: the generation that marked it live
  std::vector<uint32_t> liveList_;  // the live blocks, in order
  size_t liveCursor_ = 0;           // the first live block after the walk's last pass
  // Per block: the first block after the run of back-to-back blocks it
  // begins (blocks_.size() at the end).
  std::vector<uint32_t> runEnd_;
  uint32_t generation_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_STATEMENT_BLOCKS_H
