// The text form of compiled code. One printer serves the static listing, the
// machine's run-time trace and the debugger, so they always agree. How an
// instruction prints follows its opcode's row: the mnemonic, then the
// operand as its kind prints.
#ifndef LEXORA_ENGINE_COMPILER_LISTING_H
#define LEXORA_ENGINE_COMPILER_LISTING_H

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/compiler/program.h"

namespace Nimbra::Lexora {

// Appends one instruction and a line end (UTF-8). The listing form
// (atRunTime false) shows labels and jump targets by name and closes each
// statement with a separator line; the trace form shows whether a jump is
// taken, which depends on the truth of the top value.
void AppendInstruction(std::string& out, const Program& program, uint32_t address,
                       const Instruction& instruction, bool atRunTime, bool topIsTrue);
void WriteInstruction(FILE* out, const Program& program, uint32_t address,
                      const Instruction& instruction, bool atRunTime, bool topIsTrue);

// Appends `count` instructions from `start` (-1: to the end), preceded by the
// identifier table when asked.
void AppendListing(std::string& out, const Program& program, uint32_t start, int64_t count,
                   bool withIdentifiers);

void WriteListing(FILE* out, const Program& program, uint32_t start, int64_t count,
                  bool withIdentifiers);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_LISTING_H
