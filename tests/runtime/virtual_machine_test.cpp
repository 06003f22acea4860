#include "engine/runtime/virtual_machine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "engine/base/exceptions.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

// A program over fixed identifiers 0 (L) and 1 (R) with given spans. The
// machine is made for the program as it stands when filled.
struct Machine {
  Program program;
  std::optional<VirtualMachine> vm;

  Machine() {
    program.AddIdentifier(u"left");
    program.AddIdentifier(u"right");
  }
  void Ready() {
    vm.emplace(program);
    vm->Reset();
  }
  void Fill(std::vector<Span> left, std::vector<Span> right) {
    Ready();
    for (Span s : left) vm->positions().Record(0, s);
    for (Span s : right) vm->positions().Record(1, s);
  }
  // Runs `.load 0, .load 1, op n, .st 0` and returns the statement's hits.
  uint32_t Binary(uint32_t opcode, int32_t n, std::vector<Span> left, std::vector<Span> right) {
    program = Program();
    program.AddIdentifier(u"left");
    program.AddIdentifier(u"right");
    program.AddStatement(u"s", {});
    program.Emit(kOpLoad, 0);
    program.Emit(kOpLoad, 1);
    program.Emit(opcode, n);
    program.Emit(kOpStore, 0);
    Fill(left, right);
    vm->Execute(nullptr);
    return vm->hits()[0];
  }
  // The spans of `left op n (more OR right)`, read from the statement's
  // stored result: the OR puts `more` first.
  std::vector<Span> Result(uint32_t opcode, int32_t n, const std::vector<Span>& left,
                           const std::vector<Span>& right, const std::vector<Span>& more = {}) {
    program = Program();
    for (const char16_t* name : {u"left", u"right", u"more"}) program.AddIdentifier(name);
    OptionRecord named;
    named.name = u"R";
    program.AddStatement(u"s", named);
    for (int32_t id : {0, 1, 2}) program.Emit(kOpLoad, id);
    program.Emit(kOpOr);
    program.Emit(opcode, n);
    program.Emit(kOpStore, 0);
    Ready();
    for (auto [id, spans] : {std::pair{0u, &left}, {1u, &right}, {2u, &more}}) {
      for (Span s : *spans) vm->positions().Record(id, s);
    }
    vm->Execute(nullptr);
    std::vector<Span> out;
    vm->storedResults().at(0).ForEachPosition(vm->positions(), [&](const Span& s) {
      out.push_back(s);
      return true;
    });
    return out;
  }
};

// The positional operators by their definition: every pair compared.
std::vector<Span> ReferenceResult(uint32_t opcode, int64_t n, const std::vector<Span>& left,
                                  const std::vector<Span>& right) {
  auto distance = [opcode](Span p, Span q) -> int64_t {
    int64_t ps = static_cast<int32_t>(p.first), pe = static_cast<int32_t>(p.last);
    int64_t qs = static_cast<int32_t>(q.first), qe = static_cast<int32_t>(q.last);
    if (opcode == kOpFollowedBy || opcode == kOpNotFollowedBy) return pe < qs ? qs - pe : -1;
    if (opcode == kOpPrecededBy || opcode == kOpNotPrecededBy) return qe < ps ? ps - qe : -1;
    return pe < qs ? qs - pe : qe < ps ? ps - qe : 0;
  };
  bool negated = opcode == kOpNotNear || opcode == kOpNotFollowedBy || opcode == kOpNotPrecededBy;
  std::vector<Span> out;
  for (Span p : left) {
    bool near = false;
    for (Span q : right) {
      int64_t d = distance(p, q);
      if (d < 0 || d > n) continue;
      near = true;
      if (!negated) {
        out.push_back({static_cast<uint32_t>(std::min<int32_t>(p.first, q.first)),
                       static_cast<uint32_t>(std::max<int32_t>(p.last, q.last))});
      }
    }
    if (negated && !near) out.push_back(p);
  }
  return out;
}

// Random spans in operand order: short ones, some long ones, in one of three
// regions (near the start, spread out, or at the top of the signed range).
std::vector<Span> RandomSpans(std::mt19937& random, size_t most) {
  std::uniform_int_distribution<int> pick(0, 99);
  int64_t low = 1, high = 200;
  if (int region = pick(random) % 3; region == 1) {
    high = 5000;
  } else if (region == 2) {
    low = INT32_MAX - 3000;
    high = INT32_MAX;
  }
  std::vector<Span> spans(std::uniform_int_distribution<size_t>(0, most)(random));
  for (Span& s : spans) {
    int64_t length = pick(random) < 5 ? pick(random) * 30 : pick(random) % 4;
    int64_t first = std::uniform_int_distribution<int64_t>(low, high)(random);
    s = {static_cast<uint32_t>(first), static_cast<uint32_t>(std::min(first + length, high))};
  }
  return spans;
}

std::string ReadLog(FILE* log) {
  std::fflush(log);
  std::rewind(log);
  std::string text;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, log)) text.append(buffer, n);
  return text;
}

TEST(VirtualMachineTest, NearDistances) {
  Machine m;
  EXPECT_EQ(m.Binary(kOpNear, 1, {{5, 5}}, {{5, 5}}), 1u);  // overlapping: distance 0
  EXPECT_EQ(m.Binary(kOpNear, 1, {{5, 5}}, {{6, 6}}), 1u);
  EXPECT_EQ(m.Binary(kOpNear, 1, {{5, 5}}, {{4, 4}}), 1u);
  EXPECT_EQ(m.Binary(kOpNear, 1, {{5, 5}}, {{7, 7}}), 0u);  // one word between
  EXPECT_EQ(m.Binary(kOpNear, 4, {{1, 1}, {10, 10}}, {{3, 3}, {12, 12}, {30, 30}}), 2u);
}

TEST(VirtualMachineTest, FollowedAndPrecededBy) {
  Machine m;
  EXPECT_EQ(m.Binary(kOpFollowedBy, 1, {{1, 1}}, {{2, 2}}), 1u);
  EXPECT_EQ(m.Binary(kOpFollowedBy, 1, {{2, 2}}, {{1, 1}}), 0u);
  EXPECT_EQ(m.Binary(kOpFollowedBy, 5, {{1, 3}}, {{2, 2}}), 0u);  // overlap never follows
  EXPECT_EQ(m.Binary(kOpPrecededBy, 1, {{2, 2}}, {{1, 1}}), 1u);
  EXPECT_EQ(m.Binary(kOpPrecededBy, 1, {{1, 1}}, {{2, 2}}), 0u);
}

TEST(VirtualMachineTest, NegatedFormsKeepTheLeftPositions) {
  Machine m;
  EXPECT_EQ(m.Binary(kOpNotNear, 2, {{1, 1}, {10, 10}, {20, 20}}, {}), 3u);
  EXPECT_EQ(m.Binary(kOpNotNear, 2, {{1, 1}, {10, 10}, {20, 20}}, {{11, 11}}), 2u);
  EXPECT_EQ(m.Binary(kOpNotFollowedBy, 2, {{1, 1}, {10, 10}}, {{3, 3}}), 1u);
  EXPECT_EQ(m.Binary(kOpNotPrecededBy, 2, {{1, 1}, {10, 10}}, {{8, 8}}), 1u);
}

TEST(VirtualMachineTest, PositionalResultSpansCoverBothSides) {
  Machine m;
  EXPECT_EQ(m.Result(kOpNear, 3, {{4, 4}}, {{1, 2}, {6, 7}}), (std::vector<Span>{{1, 4}, {4, 7}}));
  ASSERT_EQ(m.vm->positions().size(), 4u);  // one temporary
  m.Binary(kOpNear, 1, {{4, 4}}, {{40, 40}});
  EXPECT_EQ(m.vm->positions().size(), 2u);  // nothing matched: no temporary
}

// The index behind the six operators gives what comparing every pair gives,
// in the same order, at the distances scripts use and at the largest.
TEST(VirtualMachineTest, PositionalOperatorsAgreeWithEveryPairCompared) {
  Machine m;
  std::mt19937 random(20261209);
  const uint32_t opcodes[] = {kOpNear,    kOpFollowedBy,    kOpPrecededBy,
                              kOpNotNear, kOpNotFollowedBy, kOpNotPrecededBy};
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<Span> left = RandomSpans(random, 40), right = RandomSpans(random, 120),
                      more = RandomSpans(random, 10);
    std::vector<Span> operand = more;
    operand.insert(operand.end(), right.begin(), right.end());
    for (uint32_t opcode : opcodes) {
      for (int32_t n : {1, 4, 1000, INT32_MAX, 0, -1}) {
        ASSERT_EQ(m.Result(opcode, n, left, right, more), ReferenceResult(opcode, n, left, operand))
            << "trial " << trial << ", " << InfoOf(opcode).mnemonic << " " << n;
      }
    }
  }
}

// A statement's intermediate positions are freed at its end unless a stored
// result or a value on the stack still names them.
TEST(VirtualMachineTest, TemporariesLiveWhileSomethingCanReadThem) {
  Machine m;
  OptionRecord named;
  named.name = u"Kept";
  m.program.AddStatement(u"dropped", {});
  m.program.AddStatement(u"kept", named);
  m.program.AddStatement(u"later", {});
  auto nearOf = [&](int32_t left) {
    m.program.Emit(left < 0 ? kOpLoadResult : kOpLoad, left < 0 ? 1 : left);
    m.program.Emit(kOpLoad, 1);
    m.program.Emit(kOpNear, 1);
  };
  nearOf(0);  // temporary 2
  m.program.Emit(kOpStore, 0);
  nearOf(0);  // temporary 3, left on the stack
  nearOf(0);  // temporary 4, stored
  m.program.Emit(kOpStore, 1);
  const uint32_t afterKept = static_cast<uint32_t>(m.program.code().size());
  nearOf(-1);  // temporary 5, from the stored result
  m.program.Emit(kOpStore, 2);
  m.program.Emit(kOpStore, 2);  // takes temporary 3 off the stack
  m.Fill({{1, 1}, {5, 5}}, {{2, 2}, {9, 9}});
  auto spansOf = [&](uint32_t id) { return m.vm->positions().SpansOf(id).size(); };
  while (m.vm->instructionPointer() < afterKept) m.vm->Step(nullptr);
  EXPECT_EQ(spansOf(2), 0u);
  EXPECT_EQ(spansOf(3), 1u);
  EXPECT_EQ(spansOf(4), 1u);
  while (m.vm->Step(nullptr)) {
  }
  EXPECT_EQ(spansOf(3), 0u);
  EXPECT_EQ(spansOf(4), 1u);
  EXPECT_EQ(spansOf(5), 0u);
  EXPECT_EQ(std::vector<uint32_t>(m.vm->hits().begin(), m.vm->hits().end()),
            (std::vector<uint32_t>{1, 1, 2}));
}

TEST(VirtualMachineTest, ManyPositionsStayFast) {
  Machine m;
  std::vector<Span> left, right;
  for (uint32_t i = 1; i <= 200000; ++i) {
    left.push_back({2 * i, 2 * i});
    right.push_back({2 * i + 1, 2 * i + 1});
  }
  EXPECT_EQ(m.Binary(kOpNear, 1, left, right), 399999u);
}

TEST(VirtualMachineTest, OrUnitesPositionsAndStoreCountsThem) {
  Machine m;
  m.program.AddStatement(u"s", {});
  m.program.Emit(kOpLoad, 0);
  m.program.Emit(kOpLoad, 1);
  m.program.Emit(kOpOr);
  m.program.Emit(kOpStore, 0);
  m.Fill({{1, 1}, {2, 2}}, {{3, 3}, {4, 4}, {5, 5}});
  m.vm->Execute(nullptr);
  EXPECT_EQ(m.vm->hits()[0], 5u);
}

TEST(VirtualMachineTest, InstancesAndNot) {
  Machine m;
  for (auto [n, expected] : {std::pair{3, 1u}, {4, 0u}, {0, 1u}}) {
    m.program = Program();
    m.program.AddIdentifier(u"a");
    m.program.AddStatement(u"s", {});
    m.program.Emit(kOpLoad, 0);
    m.program.Emit(kOpInstances, n);
    m.program.Emit(kOpStore, 0);
    m.Ready();
    for (uint32_t i = 1; i <= 3; ++i) m.vm->positions().Record(0, {i, i});
    m.vm->Execute(nullptr);
    EXPECT_EQ(m.vm->hits()[0], expected) << n;
  }
}

TEST(VirtualMachineTest, StoredResultsOfNamedStatements) {
  Machine m;
  OptionRecord named;
  named.name = u"A";
  m.program.AddStatement(u"a", named);
  m.program.AddStatement(u"b", {});
  m.program.Emit(kOpLoad, 0);
  m.program.Emit(kOpStore, 0);
  m.program.Emit(kOpLoadResult, 0);
  m.program.Emit(kOpStore, 1);
  m.program.Emit(kOpLoadResult, 1);  // unnamed: empty
  m.program.Emit(kOpNot);
  m.program.Emit(kOpStore, 1);
  m.Fill({{1, 1}, {3, 3}}, {});
  m.vm->Execute(nullptr);
  EXPECT_EQ(m.vm->hits()[0], 2u);
  EXPECT_EQ(m.vm->hits()[1], 3u);  // 2 positions, then a true NOT
  EXPECT_EQ(m.vm->storedResults().count(1), 0u);
}

TEST(VirtualMachineTest, JumpsLeaveTheirValue) {
  Machine m;
  m.program.AddStatement(u"s", {});
  uint32_t label = m.program.NewLabel();
  m.program.Emit(kOpLoad, 0);
  m.program.Emit(kOpJz, static_cast<int32_t>(label));
  m.program.Emit(kOpLoad, 1);
  m.program.Emit(kOpAnd);
  m.program.DefineLabel(label);
  m.program.Emit(kOpStore, 0);
  m.program.LinkJumps();
  m.Fill({}, {{1, 1}});
  m.vm->Execute(nullptr);  // the jump is taken; .st pops the tested value
  EXPECT_EQ(m.vm->hits()[0], 0u);
  EXPECT_TRUE(m.vm->stack().empty());
  m.Fill({{1, 1}}, {{1, 1}});
  m.vm->Execute(nullptr);
  EXPECT_EQ(m.vm->hits()[0], 1u);
}

TEST(VirtualMachineTest, MachineErrors) {
  auto errorOf = [](std::vector<Instruction> code, uint32_t identifiers = 1) -> std::u16string {
    Program p;
    for (uint32_t i = 0; i < identifiers; ++i) p.AddIdentifier(u"x");
    p.AddStatement(u"s", {});
    for (Instruction in : code) p.Emit(in.opcode, in.operand);
    VirtualMachine vm(p);
    vm.Reset();
    try {
      vm.Execute(nullptr);
    } catch (const LXException& e) {
      return e.what();
    }
    return u"(none)";
  };
  EXPECT_EQ(errorOf({{kOpAnd, 0}}), u"Stack underflow");
  EXPECT_EQ(errorOf({{kOpLoad, 5}, {kOpNot, 0}}), u"ID out of range");
  EXPECT_EQ(errorOf({{kOpLoad, 0}, {kOpNot, 0}, {kOpOr, 0}}), u"Stack underflow");
  EXPECT_EQ(errorOf({{kOpLoad, 0}, {kOpJz, 2}}), u"00000001: Address out of range: 00000002");
  EXPECT_EQ(errorOf({{kOpLoad, 0}, {kOpJnz, 2}, {kOpStore, 0}}), u"(none)");  // not taken
  EXPECT_EQ(errorOf({{99, 0}}), u"(none)");  // unknown opcodes do nothing
}

// The statement blocks reckon stack depths from the opcode table: every
// opcode must move the machine's stack as its row says.
TEST(VirtualMachineTest, EveryOpcodeMovesTheStackAsItsRowSays) {
  for (uint32_t op = 0; op <= kOpcodeCount; ++op) {
    Machine m;
    OptionRecord named;
    named.name = u"N";
    m.program.AddStatement(u"s", named);
    m.program.Emit(kOpLoad, 0);
    m.program.Emit(kOpLoad, 1);
    m.program.Emit(op, op == kOpJz || op == kOpJnz ? 3 : 0);
    m.program.Emit(kOpNop);
    m.Fill({{1, 1}}, {{2, 2}});
    m.vm->Step(nullptr);
    m.vm->Step(nullptr);
    ASSERT_EQ(m.vm->stack().size(), 2u);
    m.vm->Step(nullptr);
    EXPECT_EQ(static_cast<int>(m.vm->stack().size()) - 2, InfoOf(op).stackEffect)
        << InfoOf(op).mnemonic;
    EXPECT_EQ(m.vm->instructionPointer(), 3u) << InfoOf(op).mnemonic;
  }
}

TEST(VirtualMachineTest, TraceAndPositionalLines) {
  Machine m;
  OptionRecord named;
  named.name = u"N";
  m.program.AddStatement(u"left NEAR right", named);
  m.program.Emit(kOpLoad, 0);
  m.program.Emit(kOpLoad, 1);
  m.program.Emit(kOpNotNear, 2);
  m.program.Emit(kOpStore, 0);
  m.program.Emit(kOpLoadResult, 0);
  m.program.Emit(kOpLoad, 0);
  m.program.Emit(kOpFollowedBy, 3);
  m.program.Emit(kOpStore, 0);
  m.Fill({{1, 1}, {2, 3}}, {});
  FILE* log = std::tmpfile();
  m.vm->Execute(log);
  EXPECT_EQ(ReadLog(log),
            "00000000:            .load 0\t# left\n"
            "00000001:            .load 1\t# right\n"
            "00000002:            .!near 2\n"
            "    .notnear {1, (2, 3)} null\n"
            "00000003:            .st 0\t\t# left NEAR right\n"
            "00000004:            .loadresult 0\t# @N\n"
            "00000005:            .load 0\t# left\n"
            "00000006:            .followedby 3\n"
            "    .followedby {1, (2, 3)} {1, (2, 3)}\n"
            "00000007:            .st 0\t\t# left NEAR right\n");
  std::fclose(log);
}

}  // namespace
