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
  // Whether the code from `address` is a passable block that reads no
  // matched identifier; then it may be passed over to EndOf(address).
  bool Passable(uint32_t address) const {
    int32_t b = address < blockAt_.size() ? blockAt_[address] : -1;
    return b >= 0 && live_[b] != generation_;
  }
  uint32_t EndOf(uint32_t address) const { return blocks_[blockAt_[address]].end; }

 private:
  struct Block {
    uint32_t begin;
    uint32_t end;  // the address after its store
  };

  // A block is passable when, given only unmatched identifiers, it leaves
  // the hit counter, the stored results and the stack as it found them.
  static bool IsPassable(const Program& program, uint32_t begin, uint32_t end);

  std::vector<Block> blocks_;
  std::vector<int32_t> blockAt_;   // per address: the passable block starting there, or -1
  std::vector<uint32_t> firstOf_;  // per identifier: its range in readers_
  std::vector<uint32_t> readers_;  // passable blocks that load each identifier
  std::vector<uint32_t> live_;     // per block: the generation that marked it live
  uint32_t generation_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_STATEMENT_BLOCKS_H
