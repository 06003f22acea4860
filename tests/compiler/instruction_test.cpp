#include "engine/compiler/instruction.h"

#include <gtest/gtest.h>

#include "engine/base/exceptions.h"

using namespace Nimbra::Lexora;

namespace {

// The parser finds a positional operator's opcode by its relation and
// negation; every positional row must be found again that way, and no two
// rows may claim the same pair.
TEST(InstructionTest, PositionalOpcodesAreFoundByRelation) {
  int positional = 0;
  for (uint32_t op = 0; op < kOpcodeCount; ++op) {
    const OpcodeInfo& row = InfoOf(op);
    if (!row.IsPositional()) continue;
    ++positional;
    EXPECT_EQ(OpcodeOf(row.relation, row.negated), op) << row.mnemonic;
    EXPECT_EQ(row.operand, OperandKind::Distance) << row.mnemonic;
    EXPECT_EQ(row.stackEffect, -1) << row.mnemonic;
  }
  EXPECT_EQ(positional, 6);
  EXPECT_EQ(OpcodeOf(Relation::Near, true), kOpNotNear);
  EXPECT_EQ(OpcodeOf(Relation::PrecededBy, false), kOpPrecededBy);
}

TEST(InstructionTest, JumpsAreTakenOnTheirTruth) {
  for (uint32_t op = 0; op < kOpcodeCount; ++op) {
    const OpcodeInfo& row = InfoOf(op);
    EXPECT_EQ(row.IsJump(), op == kOpJz || op == kOpJnz) << row.mnemonic;
    EXPECT_EQ(row.IsJump(), row.operand == OperandKind::Address) << row.mnemonic;
  }
  EXPECT_TRUE(InfoOf(kOpJz).JumpTaken(false));
  EXPECT_FALSE(InfoOf(kOpJz).JumpTaken(true));
  EXPECT_TRUE(InfoOf(kOpJnz).JumpTaken(true));
  EXPECT_FALSE(InfoOf(kOpJnz).JumpTaken(false));
  EXPECT_FALSE(InfoOf(kOpLoad).JumpTaken(false));
}

TEST(InstructionTest, UnknownOpcodesHaveTheErrorRow) {
  for (uint32_t op : {uint32_t{kOpcodeCount}, 99u, 0xFFFFFFFFu}) {
    const OpcodeInfo& row = InfoOf(op);
    EXPECT_FALSE(IsOpcode(op));
    EXPECT_STREQ(row.mnemonic, "ERROR");
    EXPECT_EQ(row.operand, OperandKind::None);
    EXPECT_EQ(row.stackEffect, 0);
    EXPECT_FALSE(row.IsJump() || row.IsPositional() || row.nothingFromNothing);
  }
}

// An operand is read only as what its opcode says it is.
TEST(InstructionTest, TypedOperandAccessorsCheckTheKind) {
  EXPECT_EQ((Instruction{kOpNear, 3}.distance()), 3);
  EXPECT_EQ((Instruction{kOpInstances, -2}.count()), -2);
  EXPECT_EQ((Instruction{kOpLoad, 7}.identifier()), 7u);
  EXPECT_EQ((Instruction{kOpLoadResult, 4}.statement()), 4u);
  EXPECT_EQ((Instruction{kOpStore, 5}.statement()), 5u);
  EXPECT_EQ((Instruction{kOpJnz, 9}.target()), 9u);
  EXPECT_THROW((Instruction{kOpLoad, 7}.distance()), RuntimeError);
  EXPECT_THROW((Instruction{kOpNear, 3}.count()), RuntimeError);
  EXPECT_THROW((Instruction{kOpStore, 5}.identifier()), RuntimeError);
  EXPECT_THROW((Instruction{kOpAnd, 0}.target()), RuntimeError);
  EXPECT_THROW((Instruction{99, 0}.statement()), RuntimeError);
}

}  // namespace
