// Breakpoints written into a code vector as ".break", with the instructions
// they replaced.
#ifndef LEXORA_ENGINE_DEBUG_BREAKPOINTS_H
#define LEXORA_ENGINE_DEBUG_BREAKPOINTS_H

#include <cstdint>
#include <map>
#include <vector>

#include "engine/compiler/program.h"

namespace Nimbra::Lexora {

class Breakpoints {
 public:
  // Saves the instruction at `address` and writes ".break" over it; a
  // second breakpoint at one address keeps the first saved instruction.
  // VMError "Invalid address: %08x", reported at `ip`, beyond the code.
  void Set(std::vector<Instruction>& code, uint32_t address, uint32_t ip);
  // Writes the saved instruction back; VMError "Invalid breakpoint",
  // reported at `ip`, when the address holds none.
  void Delete(std::vector<Instruction>& code, uint32_t address, uint32_t ip);

  // The instruction a breakpoint replaced, or null.
  const Instruction* SavedAt(uint32_t address) const;
  // Keyed, so in ascending address order.
  const std::map<uint32_t, Instruction>& saved() const { return saved_; }

 private:
  std::map<uint32_t, Instruction> saved_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_BREAKPOINTS_H
