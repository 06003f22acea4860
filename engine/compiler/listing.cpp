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

}  // namespace

void AppendInstruction(std::string& out, const Program& program, uint32_t address,
                       const Instruction& instruction, bool atRunTime, bool topIsTrue) {
  AppendPrefix(out, program, address, atRunTime);
  const char* mnemonic = InfoOf(instruction.opcode).mnemonic;
  int32_t operand = instruction.operand;
  switch (instruction.opcode) {
    case kOpNop:
    case kOpAnd:
    case kOpOr:
    case kOpNot:
    case kOpBreak:
      out += mnemonic;
      break;
    case kOpNear:
    case kOpFollowedBy:
    case kOpPrecededBy:
    case kOpNotNear:
    case kOpNotFollowedBy:
    case kOpNotPrecededBy:
    case kOpInstances:
      out += Format("%s %d", mnemonic, operand);
      break;
    case kOpLoad:
      out += Format("%s %d\t# %ls", mnemonic, operand,
                    program.IdentifierText(static_cast<uint32_t>(operand)));
      break;
    case kOpLoadResult:
      out += Format("%s %d\t# @%ls", mnemonic, operand,
                    program.Options(static_cast<uint32_t>(operand)).name);
      break;
    case kOpStore:
      out += Format("%s %d\t\t# %ls", mnemonic, operand,
                    program.StatementText(static_cast<uint32_t>(operand)));
      if (!atRunTime) {
        out += Format("\n%08x: -----------------------------------------------", address);
      }
      break;
    case kOpJz:
    case kOpJnz:
      if (atRunTime) {
        bool taken = instruction.opcode == kOpJz ? !topIsTrue : topIsTrue;
        out += Format("%s %08x (%s)", mnemonic, operand, taken ? "taken" : "not taken");
      } else {
        out += Format("%s %ls\t# %08x", mnemonic,
                      LabelName(program.LabelAt(static_cast<uint32_t>(operand))), operand);
      }
      break;
    default:
      out += "## ERROR ##";
      break;
  }
  out += "\n";
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
