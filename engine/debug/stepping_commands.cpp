// c, n, bp, bd, bl and k: stepping the machine and looking at its stack.
#include "engine/debug/command_arguments.h"
#include "engine/debug/command_table.h"

namespace Nimbra::Lexora {
namespace {

// The stepping run, or null after telling the user how to make one.
SteppingRun* RunOrHint(DebugSession& session) {
  if (!session.run) {
    Print(session.out.sink(), "Error: no file being scanned.\nRun 'r <filename>'\n");
  }
  return session.run.get();
}

}  // namespace

void ContinueCommand(DebugSession& session, const std::string&) {
  SteppingRun* run = RunOrHint(session);
  if (!run) return;
  SteppingRun::Stop stop = run->Advance(false, nullptr);
  Print(session.out.sink(),
        stop == SteppingRun::Stop::Breakpoint ? "Breakpoint hit.\n" : "Execution done.\n");
}

// The executed instruction is traced to the sink, as a runner's log shows
// it, so that each step can be followed.
void NextCommand(DebugSession& session, const std::string&) {
  SteppingRun* run = RunOrHint(session);
  if (!run) return;
  if (run->Advance(true, session.out.sink()) == SteppingRun::Stop::End) {
    Print(session.out.sink(), "Execution done.\n");
  }
}

void BreakpointCommand(DebugSession& session, const std::string& argument) {
  if (SteppingRun* run = RunOrHint(session)) run->SetBreakpoint(HexArgument(argument));
}

void DeleteBreakpointCommand(DebugSession& session, const std::string& argument) {
  if (SteppingRun* run = RunOrHint(session)) run->DeleteBreakpoint(HexArgument(argument));
}

void ListBreakpointsCommand(DebugSession& session, const std::string&) {
  if (!session.run) return;
  for (const auto& [address, saved] : session.run->breakpoints().saved()) {
    Print(session.out.sink(), "BP: %08x\n", address);
  }
}

// Top first; a count of 0, or none, shows the whole stack.
void StackCommand(DebugSession& session, const std::string& argument) {
  SteppingRun* run = RunOrHint(session);
  if (!run) return;
  std::vector<uint32_t> count = DecimalArguments(argument, 1);
  const VirtualMachine& machine = run->machine();
  const std::vector<Value>& stack = machine.stack();
  size_t shown = stack.size();
  if (!count.empty() && count[0] != 0 && count[0] < shown) shown = count[0];
  for (size_t depth = 0; depth < shown; ++depth) {
    const Value& value = stack[stack.size() - 1 - depth];
    Print(session.out.console(), "%03d: %s%s\n", depth, value.Text(machine.positions()),
          depth == 0 ? "  (top)" : "");
  }
}

}  // namespace Nimbra::Lexora
