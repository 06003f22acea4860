// The stack machine's program: instructions, labels, identifier texts and the
// statement table. The parser emits into it; the virtual machine, the listing
// and the debugger read it.
#ifndef LEXORA_ENGINE_COMPILER_PROGRAM_H
#define LEXORA_ENGINE_COMPILER_PROGRAM_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Nimbra::Lexora {

// Opcodes. Binary operators pop R (pushed last) and then L. What each does
// when executed is documented at its case in the virtual machine.
enum Opcode : uint32_t {
  kOpNop = 0,            // nothing
  kOpAnd = 1,            // boolean truth(R) and truth(L)
  kOpOr = 2,             // union of identifier lists, else boolean or
  kOpNot = 3,            // boolean negation
  kOpNear = 4,           // spans of L and R within the operand distance
  kOpFollowedBy = 5,     // R starts within the distance after L ends
  kOpPrecededBy = 6,     // R ends within the distance before L starts
  kOpNotNear = 7,        // spans of L with no R near them
  kOpNotFollowedBy = 8,  // spans of L not followed by R
  kOpNotPrecededBy = 9,  // spans of L not preceded by R
  kOpInstances = 10,     // true when the operand count of positions is reached
  kOpLoad = 11,          // push the identifier of a word, class or sequence
  kOpLoadResult = 12,    // push the stored result of a named statement
  kOpStore = 13,         // ".st": count hits of a statement, store named results
  kOpBreak = 14,         // breakpoint written by the debugger
  kOpJz = 15,            // jump when the top value is false, leaving it
  kOpJnz = 16,           // jump when the top value is true, leaving it
};
inline constexpr uint32_t kOpcodeCount = 17;

// What an instruction's operand means, for printing and checking.
enum class OperandKind : uint8_t { None, Distance, Count, Identifier, Statement, Address };

struct OpcodeInfo {
  const char* mnemonic;
  OperandKind operand;
  int8_t stackEffect;  // values pushed less values popped
  // Given only empty or false values (and, for .instances, a count above
  // 0), gives an empty or false value: a statement made of such opcodes
  // cannot count a hit when none of its identifiers matched.
  bool nothingFromNothing;
};

// The mnemonic, operand kind and semantics of an opcode; "ERROR" with no
// operand and no effect for any number outside the table.
const OpcodeInfo& InfoOf(uint32_t opcode);

struct Instruction {
  uint32_t opcode;
  int32_t operand;
};
static_assert(sizeof(Instruction) == 8, "an instruction is two 32-bit words");

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
