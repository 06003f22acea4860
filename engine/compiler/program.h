// The stack machine's program: instructions, labels, identifier texts and the
// statement table. The parser emits into it; the virtual machine, the listing
// and the debugger read it.
#ifndef LEXORA_ENGINE_COMPILER_PROGRAM_H
#define LEXORA_ENGINE_COMPILER_PROGRAM_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/compiler/instruction.h"

namespace Nimbra::Lexora {

// The options of one statement.
struct OptionRecord {
  std::u16string name;     // empty without a NAME option
  int32_t score = 10;      // points per counted hit
  int32_t matchLimit = 1;  // counted hits at most; 0 = all
  bool positionBased = false;
};

// Statement names compare by simple case folding.
struct FoldedLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const;
};

class Program {
 public:
  // Code.
  void Emit(uint32_t opcode, int32_t operand = 0) { code_.push_back({opcode, operand}); }
  uint32_t NewLabel();
  // Labels the address of the next instruction to be emitted.
  void DefineLabel(uint32_t label);
  // Replaces the label numbers of jumps by their addresses; RuntimeError
  // "Invalid jump target" for a label that does not exist.
  void LinkJumps();
  const std::vector<Instruction>& code() const { return code_; }
  std::vector<Instruction>& code() { return code_; }
  const std::vector<int32_t>& labels() const { return labels_; }
  // The lowest label at `address`, or -1.
  int32_t LabelAt(uint32_t address) const;

  // Identifiers: one numbering for words, patterns, classes and sequences.
  uint32_t AddIdentifier(std::u16string text);
  uint32_t identifierCount() const { return static_cast<uint32_t>(identifierTexts_.size()); }
  // The text shown for an identifier, or "<unknown>" outside the table.
  const std::u16string& IdentifierText(uint32_t id) const;

  // Statements, numbered from 0 in order of completion.
  uint32_t AddStatement(std::u16string text, OptionRecord options);
  uint32_t statementCount() const { return static_cast<uint32_t>(statementTexts_.size()); }
  // The source text of a statement, or "<unknown>" outside the table.
  const std::u16string& StatementText(uint32_t index) const;
  // The options of a statement; the defaults (score 10, match 1,
  // position-based) outside the table.
  const OptionRecord& Options(uint32_t index) const;
  // -1 when no statement has that name.
  int32_t FindNamedStatement(const std::u16string& name) const;
  void EnterName(const std::u16string& name, uint32_t index);

 private:
  std::vector<Instruction> code_;
  std::vector<int32_t> labels_;
  std::vector<std::u16string> identifierTexts_;
  std::vector<std::u16string> statementTexts_;
  std::vector<OptionRecord> options_;
  std::map<std::u16string, uint32_t, FoldedLess> names_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_PROGRAM_H
