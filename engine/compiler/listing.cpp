#include "engine/compiler/listing.h"

#include "engine/base/format.h"

namespace Nimbra::Lexora {
namespace {

std::u16string LabelName(int32_t label) {
  return label < 0 ? u"" : Format(u"L%d", label);
}

// Both prefixes are 21 characters wide.
void AppendPrefix(std::string& out, const Program& program, uint32_t address, bool atRunTime) {
  int32_t label = atRunTime ? -1 : program.LabelAt(address);
  if (label >= 0) {
    out += Format("%08x: %-10ls ", address, LabelName(label) + u":");
  } else {
    out += Format("%08x:            ", address);
  }
}

// The body of an instruction: its mnemonic and the operand as its kind
// prints.
void AppendBody(std::string& out, const Program& program, uint32_t address,
                const Instruction& instruction, bool atRunTime, bool topIsTrue) {
  const OpcodeInfo& row = InfoOf(instruction.opcode);
  if (!IsOpcode(instruction.opcode)) {
    out += "## ERROR ##";
    return;
  }
  const char* mnemonic = row.mnemonic;
  int32_t operand = instruction.operand;
  switch (row.operand) {
    case OperandKind::None:
      out += mnemonic;
      break;
    case OperandKind::Distance:
    case OperandKind::Count:
      out += Format("%s %d", mnemonic, operand);
      break;
    case OperandKind::Identifier:
      out += Format("%s %d\t# %ls", mnemonic, operand,
                    program.IdentifierText(instruction.identifier()));
      break;
    case OperandKind::Reference:
      out +=
          Format("%s %d\t# @%ls", mnemonic, operand, program.Options(instruction.statement()).name);
      break;
    case OperandKind::Statement:
      out += Format("%s %d\t\t# %ls", mnemonic, operand,
                    program.StatementText(instruction.statement()));
      if (!atRunTime) {
        out += Format("\n%08x: -----------------------------------------------", address);
      }
      break;
    case OperandKind::Address:
      if (atRunTime) {
        out += Format("%s %08x (%s)", mnemonic, operand,
                      row.JumpTaken(topIsTrue) ? "taken" : "not taken");
      } else {
        out += Format("%s %ls\t# %08x", mnemonic, LabelName(program.LabelAt(instruction.target())),
                      operand);
      }
      break;
  }
}

}  // namespace

void AppendInstruction(std::string& out, const Program& program, uint32_t address,
                       const Instruction& instruction, bool atRunTime, bool topIsTrue) {
  AppendPrefix(out, program, address, atRunTime);
  AppendBody(out, program, address, instruction, atRunTime, topIsTrue);
  out += "\n";
}

void WriteInstruction(FILE* out, const Program& program, uint32_t address,
                      const Instruction& instruction, bool atRunTime, bool topIsTrue) {
  std::string text;
  AppendInstruction(text, program, address, instruction, atRunTime, topIsTrue);
  std::fwrite(text.data(), 1, text.size(), out);
}

void AppendListing(std::string& out, const Program& program, uint32_t start, int64_t count,
                   bool withIdentifiers) {
  if (withIdentifiers) {
    out += ".words\n";
    for (uint32_t id = 0; id < program.identifierCount(); ++id) {
      out += Format("[%4d] %ls\n", id, program.IdentifierText(id));
    }
    out += ".code\n";
  }
  const auto& code = program.code();
  for (uint64_t address = start; address < code.size() && count != 0; ++address) {
    if (count > 0) --count;
    AppendInstruction(out, program, static_cast<uint32_t>(address), code[address], false, false);
  }
}

void WriteListing(FILE* out, const Program& program, uint32_t start, int64_t count,
                  bool withIdentifiers) {
  std::string text;
  AppendListing(text, program, start, count, withIdentifiers);
  std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace Nimbra::Lexora
