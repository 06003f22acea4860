// The stack machine's instruction set. One row per opcode says what the
// opcode is: the parser that emits code, the link step, the machine, the
// listing and the debugger all read it, so no list of opcodes is kept twice.
#ifndef LEXORA_ENGINE_COMPILER_INSTRUCTION_H
#define LEXORA_ENGINE_COMPILER_INSTRUCTION_H

#include <cstdint>

namespace Nimbra::Lexora {

// Opcodes with their stack effect and meaning. Binary operators pop R
// (pushed last), then L; n is the operand. Pushed are a boolean b, an
// identifier id, any value v, or t: a new temporary holding the spans made,
// or an empty list when there are none. The positions of a value are the
// spans of the records it names; truth(x): x is a true boolean or has one.
enum Opcode : uint32_t {
  kOpNop = 0,            // -        nothing
  kOpAnd = 1,            // L R -> b truth(R) and truth(L), R tested first
  kOpOr = 2,             // L R -> v R's identifiers then L's; with a boolean, truth(R) or truth(L)
  kOpNot = 3,            // x -> b   not truth(x)
  kOpNear = 4,           // L R -> t each p of L and q of R at most n words apart, as one span
  kOpFollowedBy = 5,     // L R -> t as .near, for q starting after p ends
  kOpPrecededBy = 6,     // L R -> t as .near, for q ending before p starts
  kOpNotNear = 7,        // L R -> t each p of L with no q of R at most n words apart
  kOpNotFollowedBy = 8,  // L R -> t each p of L with no q starting within n words after it
  kOpNotPrecededBy = 9,  // L R -> t each p of L with no q ending within n words before it
  kOpInstances = 10,     // x -> b   x has at least n positions (always for n <= 0)
  kOpLoad = 11,          // -> id    identifier n: a word, pattern, class or sequence
  kOpLoadResult = 12,    // -> v     the result stored by named statement n, else empty
  kOpStore = 13,         // x ->     ".st": x's hits count for statement n; a named one keeps x
  kOpBreak = 14,         // -        nothing; the debugger writes it over code to stop there
  kOpJz = 15,            // x -> x   jump to address n when x is false
  kOpJnz = 16,           // x -> x   jump to address n when x is true
  kOpcodeCount           // not an opcode: the number of opcodes
};

// What an operand means; it decides how the operand prints.
enum class OperandKind : uint8_t {
  None,
  Distance,    // words between two positions
  Count,       // positions wanted
  Identifier,  // a word, pattern, class or sequence; a temporary at run time
  Reference,   // a named statement whose stored result is read
  Statement,   // the statement whose code the instruction ends
  Address,     // a code address; a label number until the link step
};

// On which truth of the top value a jump is taken.
enum class Branch : uint8_t { Never, IfFalse, IfTrue };

// How the positions of a positional operator's two operands must lie.
enum class Relation : uint8_t { NotPositional, Near, FollowedBy, PrecededBy };

struct OpcodeInfo {
  Opcode opcode;  // the row's own opcode; each row is checked to sit at it
  const char* mnemonic;
  OperandKind operand;
  int8_t stackEffect;  // values pushed less values popped
  Branch branch;
  Relation relation;
  // A positional operator that keeps the positions of L with no R in
  // relation to them, instead of joining the pairs that are.
  bool negated;
  // Given only empty or false values (and, for .instances, a count above
  // 0), gives an empty or false value: a statement made of such opcodes
  // cannot count a hit when none of its identifiers matched.
  bool nothingFromNothing;

  constexpr bool IsJump() const { return branch != Branch::Never; }
  constexpr bool IsPositional() const { return relation != Relation::NotPositional; }
  constexpr bool JumpTaken(bool topIsTrue) const {
    return branch == Branch::IfTrue ? topIsTrue : branch == Branch::IfFalse && !topIsTrue;
  }
};

constexpr bool IsOpcode(uint32_t opcode) {
  return opcode < kOpcodeCount;
}

// The rows, indexed by opcode, and the row of every number outside them.
extern const OpcodeInfo kOpcodeRows[kOpcodeCount];
extern const OpcodeInfo kUnknownOpcode;

// The row of an opcode; for any number outside the table, "ERROR" with no
// operand and no effect.
inline const OpcodeInfo& InfoOf(uint32_t opcode) {
  return IsOpcode(opcode) ? kOpcodeRows[opcode] : kUnknownOpcode;
}

// The positional opcode of a relation, plain or negated.
Opcode OpcodeOf(Relation relation, bool negated);

struct Instruction {
  uint32_t opcode;
  int32_t operand;

  // The operand read as what the opcode's row says it is; RuntimeError
  // when it is of another kind, for a misread is a fault of the engine.
  int32_t distance() const { return OperandAs(OperandKind::Distance); }
  int32_t count() const { return OperandAs(OperandKind::Count); }
  uint32_t identifier() const { return static_cast<uint32_t>(OperandAs(OperandKind::Identifier)); }
  // The statement read (.loadresult) or ended (.st).
  uint32_t statement() const {
    return static_cast<uint32_t>(OperandAs(OperandKind::Statement, OperandKind::Reference));
  }
  uint32_t target() const { return static_cast<uint32_t>(OperandAs(OperandKind::Address)); }

 private:
  // The check is one read of the table, so the machine can afford it.
  int32_t OperandAs(OperandKind kind, OperandKind alternative) const {
    OperandKind actual = InfoOf(opcode).operand;
    if (actual != kind && actual != alternative) ThrowMisread();
    return operand;
  }
  int32_t OperandAs(OperandKind kind) const { return OperandAs(kind, kind); }
  [[noreturn]] void ThrowMisread() const;
};
static_assert(sizeof(Instruction) == 8, "an instruction is two 32-bit words");

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_INSTRUCTION_H
