#include "engine/debug/stepping_run.h"

namespace Nimbra::Lexora {

SteppingRun::SteppingRun(std::shared_ptr<const CompiledScript> script, ILXStream* stream)
    : script_(std::move(script)), program_(script_->program), pipeline_(program_, script_->words) {
  pipeline_.machine().KeepTemporaries();
  pipeline_.Analyse(stream, nullptr);
}

void SteppingRun::StepSaved(const Instruction& saved, FILE* trace) {
  std::vector<Instruction>& code = program_.code();
  const uint32_t at = pipeline_.machine().instructionPointer();
  // The machine executes what the code holds: the saved instruction goes
  // back for one step, and the breakpoint returns whatever happens.
  code[at] = saved;
  try {
    pipeline_.machine().Step(trace);
  } catch (...) {
    code[at] = {kOpBreak, 0};
    throw;
  }
  code[at] = {kOpBreak, 0};
}

SteppingRun::Stop SteppingRun::Advance(bool singleStep, FILE* trace) {
  VirtualMachine& machine = pipeline_.machine();
  if (atBreakpoint_) {
    atBreakpoint_ = false;
    // Without a saved instruction the breakpoint was deleted while stopped
    // at it: the code holds the instruction again and runs as usual.
    if (const Instruction* saved = breakpoints_.SavedAt(machine.instructionPointer())) {
      StepSaved(*saved, trace);
      if (singleStep) return Stop::Stepped;
    }
  }
  const std::vector<Instruction>& code = program_.code();
  for (;;) {
    const uint32_t ip = machine.instructionPointer();
    if (ip >= code.size()) return Stop::End;
    if (code[ip].opcode == kOpBreak) {
      atBreakpoint_ = true;
      return Stop::Breakpoint;
    }
    machine.Step(trace);
    if (singleStep) return Stop::Stepped;
  }
}

void SteppingRun::SetBreakpoint(uint32_t address) {
  breakpoints_.Set(program_.code(), address, machine().instructionPointer());
}

void SteppingRun::DeleteBreakpoint(uint32_t address) {
  breakpoints_.Delete(program_.code(), address, machine().instructionPointer());
}

}  // namespace Nimbra::Lexora
