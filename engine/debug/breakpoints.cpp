#include "engine/debug/breakpoints.h"

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

void Breakpoints::Set(std::vector<Instruction>& code, uint32_t address, uint32_t ip) {
  if (address >= code.size()) throw VMError(ip, u"Invalid address: %08x", address);
  // Saving a ".break" over itself would lose the instruction for good.
  if (saved_.emplace(address, code[address]).second) code[address] = {kOpBreak, 0};
}

void Breakpoints::Delete(std::vector<Instruction>& code, uint32_t address, uint32_t ip) {
  auto it = saved_.find(address);
  if (it == saved_.end()) throw VMError(ip, u"Invalid breakpoint");
  code[address] = it->second;
  saved_.erase(it);
}

const Instruction* Breakpoints::SavedAt(uint32_t address) const {
  auto it = saved_.find(address);
  return it == saved_.end() ? nullptr : &it->second;
}

}  // namespace Nimbra::Lexora
