#include "engine/compiler/instruction.h"

#include <utility>

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

using enum OperandKind;
using enum Branch;
using enum Relation;

}  // namespace

// clang-format off
constexpr OpcodeInfo kOpcodeRows[kOpcodeCount] = {
//   opcode            mnemonic        operand     stack branch   relation       negated nothing from nothing
    {kOpNop,           ".nop",         None,        0,   Never,   NotPositional, false,  true},
    {kOpAnd,           ".and",         None,       -1,   Never,   NotPositional, false,  true},
    {kOpOr,            ".or",          None,       -1,   Never,   NotPositional, false,  true},
    {kOpNot,           ".not",         None,        0,   Never,   NotPositional, false,  false},
    {kOpNear,          ".near",        Distance,   -1,   Never,   Near,          false,  true},
    {kOpFollowedBy,    ".followedby",  Distance,   -1,   Never,   FollowedBy,    false,  true},
    {kOpPrecededBy,    ".precededby",  Distance,   -1,   Never,   PrecededBy,    false,  true},
    // The negated forms keep positions of L, which has none.
    {kOpNotNear,       ".!near",       Distance,   -1,   Never,   Near,          true,   true},
    {kOpNotFollowedBy, ".!followedby", Distance,   -1,   Never,   FollowedBy,    true,   true},
    {kOpNotPrecededBy, ".!precededby", Distance,   -1,   Never,   PrecededBy,    true,   true},
    {kOpInstances,     ".instances",   Count,       0,   Never,   NotPositional, false,  true},
    {kOpLoad,          ".load",        Identifier,  1,   Never,   NotPositional, false,  true},
    // Reads what earlier statements stored, whatever matched.
    {kOpLoadResult,    ".loadresult",  Reference,   1,   Never,   NotPositional, false,  false},
    {kOpStore,         ".st",          Statement,  -1,   Never,   NotPositional, false,  false},
    {kOpBreak,         ".break",       None,        0,   Never,   NotPositional, false,  false},
    {kOpJz,            ".jz",          Address,     0,   IfFalse, NotPositional, false,  true},
    {kOpJnz,           ".jnz",         Address,     0,   IfTrue,  NotPositional, false,  true},
};
constexpr OpcodeInfo kUnknownOpcode =
    {kOpcodeCount,     "ERROR",        None,        0,   Never,   NotPositional, false,  false};
// clang-format on

namespace {

// Instantiated once per row, so that a row out of place (or missing, which
// leaves a zero row at the end) is named by its index in the error.
template <uint32_t Row>
constexpr bool RowAtItsOpcode() {
  static_assert(kOpcodeRows[Row].opcode == Row, "the opcode table's row is not its opcode's");
  return true;
}
template <uint32_t... Rows>
constexpr bool EveryRowAtItsOpcode(std::integer_sequence<uint32_t, Rows...>) {
  return (RowAtItsOpcode<Rows>() && ...);
}
static_assert(EveryRowAtItsOpcode(std::make_integer_sequence<uint32_t, kOpcodeCount>()));

}  // namespace

Opcode OpcodeOf(Relation relation, bool negated) {
  for (const OpcodeInfo& row : kOpcodeRows) {
    if (row.relation == relation && row.negated == negated) return row.opcode;
  }
  return kOpNop;  // no negated form of "not positional"
}

void Instruction::ThrowMisread() const {
  throw RuntimeError(u"Operand of %s read as another kind", InfoOf(opcode).mnemonic);
}

}  // namespace Nimbra::Lexora
