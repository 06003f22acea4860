// The stepping run: breakpoints stay in its own copy of the code, and
// stepping to the end gives what a runner gives.
#include "engine/debug/stepping_run.h"

#include <functional>
#include <thread>
#include <vector>

#include "engine/api/runner_impl.h"
#include "engine/base/exceptions.h"
#include "runtime/scan_support.h"
#include "test_support.h"

namespace lexora_test {
namespace {

using Nimbra::Lexora::CompiledScript;
using Nimbra::Lexora::Instruction;
using Nimbra::Lexora::kOpBreak;
using Nimbra::Lexora::LXException;
using Nimbra::Lexora::LXRunnerImpl;
using Nimbra::Lexora::SteppingRun;
using Stop = SteppingRun::Stop;

constexpr std::u16string_view kScript =
    u"[NAME=Pet] cat OR dog\ncat NEAR=2 food\n[SCORE=5] [@Pet] AND bird\nfood AND NOT fish\n";
constexpr std::u16string_view kText = u"my cat likes food and a bird, the dog too";

std::vector<uint32_t> RunnerHits(const std::shared_ptr<const CompiledScript>& script) {
  LXRunnerImpl* runner = new LXRunnerImpl(script);
  EXPECT_TRUE(runner->Run(StringStreamOf(kText).get()));
  std::vector<uint32_t> hits(script->program.statementCount());
  for (uint32_t i = 0; i < hits.size(); ++i) runner->GetExpressionResult(i, &hits[i], nullptr);
  runner->Release();
  return hits;
}

std::vector<uint32_t> OpcodesOf(const std::vector<Instruction>& code) {
  std::vector<uint32_t> opcodes;
  for (const Instruction& in : code) opcodes.push_back(in.opcode);
  return opcodes;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const LXException& e) {
    return U8(e.message());
  }
  return "";
}

TEST(SteppingRunTest, BreakpointsNeverReachRunnersOfTheScript) {
  Initialized library;
  std::shared_ptr<const CompiledScript> script = CompileOrFail(kScript);
  const std::vector<uint32_t> plain = RunnerHits(script);
  const std::vector<uint32_t> opcodes = OpcodesOf(script->program.code());
  const uint32_t size = static_cast<uint32_t>(opcodes.size());

  // One runner scans on another thread all the while.
  std::thread scanner([&] {
    for (int i = 0; i < 200; ++i) ASSERT_EQ(RunnerHits(script), plain);
  });
  SteppingRun run(script, StringStreamOf(kText).get());
  for (uint32_t address = 0; address < size; ++address) run.SetBreakpoint(address);
  // Every instruction is stopped at once, in order, before it runs.
  for (uint32_t address = 0; address < size; ++address) {
    ASSERT_EQ(run.Advance(false, nullptr), Stop::Breakpoint);
    EXPECT_EQ(run.machine().instructionPointer(), address);
  }
  EXPECT_EQ(run.Advance(false, nullptr), Stop::End);
  scanner.join();

  EXPECT_EQ(OpcodesOf(script->program.code()), opcodes);
  EXPECT_EQ(OpcodesOf(run.program().code()), std::vector<uint32_t>(size, kOpBreak));
  std::vector<uint32_t> stepped(run.machine().hits().begin(), run.machine().hits().end());
  EXPECT_EQ(stepped, plain);
  EXPECT_EQ(RunnerHits(script), plain);  // a runner made afterwards
}

TEST(SteppingRunTest, ResumingExecutesTheSavedInstructionOnce) {
  Initialized library;
  std::shared_ptr<const CompiledScript> script = CompileOrFail(kScript);
  SteppingRun run(script, StringStreamOf(kText).get());
  run.SetBreakpoint(1);
  EXPECT_EQ(run.Advance(true, nullptr), Stop::Stepped);
  EXPECT_EQ(run.Advance(true, nullptr), Stop::Breakpoint);
  EXPECT_EQ(run.machine().stack().size(), 1u);
  EXPECT_EQ(run.machine().instructionPointer(), 1u);
  EXPECT_EQ(run.Advance(true, nullptr), Stop::Stepped);  // the saved .load
  EXPECT_EQ(run.machine().stack().size(), 2u);
  EXPECT_EQ(run.machine().instructionPointer(), 2u);
  EXPECT_EQ(run.program().code()[1].opcode, kOpBreak);
}

TEST(SteppingRunTest, ABreakpointDeletedWhileStoppedAtItRunsAsUsual) {
  Initialized library;
  std::shared_ptr<const CompiledScript> script = CompileOrFail(kScript);
  SteppingRun run(script, StringStreamOf(kText).get());
  run.SetBreakpoint(2);
  run.SetBreakpoint(2);  // twice: the first saved instruction stays
  ASSERT_EQ(run.Advance(false, nullptr), Stop::Breakpoint);
  run.DeleteBreakpoint(2);
  EXPECT_EQ(OpcodesOf(run.program().code()), OpcodesOf(script->program.code()));
  EXPECT_EQ(run.Advance(false, nullptr), Stop::End);
  std::vector<uint32_t> stepped(run.machine().hits().begin(), run.machine().hits().end());
  EXPECT_EQ(stepped, RunnerHits(script));
}

TEST(SteppingRunTest, BreakpointErrorsCarryTheCurrentAddress) {
  Initialized library;
  std::shared_ptr<const CompiledScript> script = CompileOrFail(kScript);
  SteppingRun run(script, StringStreamOf(kText).get());
  run.Advance(true, nullptr);
  run.Advance(true, nullptr);
  const uint32_t size = static_cast<uint32_t>(script->program.code().size());
  EXPECT_EQ(MessageOf([&] { run.SetBreakpoint(size); }),
            "00000002: Invalid address: " + Nimbra::Lexora::Format("%08x", size));
  EXPECT_EQ(MessageOf([&] { run.DeleteBreakpoint(0); }), "00000002: Invalid breakpoint");
  EXPECT_TRUE(run.breakpoints().saved().empty());
}

TEST(SteppingRunTest, AFailingSavedInstructionLeavesItsBreakpoint) {
  Initialized library;
  std::unique_ptr<CompiledScript> broken = CompileOrFail(kScript);
  broken->program.code()[0] = {Nimbra::Lexora::kOpAnd, 0};  // underflows an empty stack
  std::shared_ptr<const CompiledScript> script = std::move(broken);
  SteppingRun run(script, StringStreamOf(kText).get());
  run.SetBreakpoint(0);
  ASSERT_EQ(run.Advance(false, nullptr), Stop::Breakpoint);
  EXPECT_EQ(MessageOf([&] { run.Advance(false, nullptr); }), "Stack underflow");
  EXPECT_EQ(run.program().code()[0].opcode, kOpBreak);
  EXPECT_EQ(run.Advance(false, nullptr), Stop::Breakpoint);
}

}  // namespace
}  // namespace lexora_test
