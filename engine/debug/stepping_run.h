// A scan that stops before the statement code and lets the debugger step the
// machine one instruction at a time, with breakpoints.
//
// The run executes its own copy of the program: breakpoints are written
// into that copy, never into the compiled script that runners share.
#ifndef LEXORA_ENGINE_DEBUG_STEPPING_RUN_H
#define LEXORA_ENGINE_DEBUG_STEPPING_RUN_H

#include <cstdio>
#include <memory>

#include "engine/compiler/compiled_script.h"
#include "engine/debug/breakpoints.h"
#include "engine/runtime/scan_pipeline.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class SteppingRun {
 public:
  enum class Stop { Stepped, Breakpoint, End };

  // Analyses the whole stream (decoded, normalised, words and sequences
  // found); the run then stands at address 0 with an empty stack.
  SteppingRun(std::shared_ptr<const CompiledScript> script, ILXStream* stream);
  SteppingRun(const SteppingRun&) = delete;
  SteppingRun& operator=(const SteppingRun&) = delete;

  // One stepping request: a single instruction, or on to a breakpoint or
  // the end. A breakpoint at the current address is hit before its
  // instruction runs; the next request executes that instruction first.
  // Executed instructions are traced to `trace` when it is not null.
  Stop Advance(bool singleStep, FILE* trace);

  // As Breakpoints::Set and Delete, errors reported at the current address.
  void SetBreakpoint(uint32_t address);
  void DeleteBreakpoint(uint32_t address);
  const Breakpoints& breakpoints() const { return breakpoints_; }

  const VirtualMachine& machine() const { return pipeline_.machine(); }
  // The code as stepped, breakpoints included.
  const Program& program() const { return program_; }
  const CompiledScript& script() const { return *script_; }

 private:
  // Executes the instruction a breakpoint at the current address replaced.
  void StepSaved(const Instruction& saved, FILE* trace);

  std::shared_ptr<const CompiledScript> script_;  // keeps the word tables alive
  Program program_;
  // The machine reads the code afresh at every step, so breakpoints may
  // change it; only Execute, which the run never calls, relies on it fixed.
  ScanPipeline pipeline_;
  Breakpoints breakpoints_;
  bool atBreakpoint_ = false;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_STEPPING_RUN_H
