// The state the debugger's commands work on, kept by the debugger object
// from one console run to the next.
#ifndef LEXORA_ENGINE_DEBUG_DEBUG_SESSION_H
#define LEXORA_ENGINE_DEBUG_DEBUG_SESSION_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/compiler/compiled_script.h"
#include "engine/debug/output_routing.h"
#include "engine/debug/stepping_run.h"

namespace Nimbra::Lexora {

struct DebugSession {
  explicit DebugSession(FILE* console) : out(console) {}

  // The stepping run when it was made from the current script: a run of a
  // script loaded before does not number its identifiers like this one.
  const SteppingRun* RunOfScript() const {
    return run && script && &run->script() == script.get() ? run.get() : nullptr;
  }
  // The code listings show: the stepping run's, with its breakpoints, when
  // it belongs to the current script; else the script's. Needs a script.
  const Program& ShownProgram() const {
    const SteppingRun* own = RunOfScript();
    return own ? own->program() : script->program;
  }

  std::shared_ptr<const CompiledScript> script;  // absent until a load succeeds
  std::unique_ptr<SteppingRun> run;              // absent until an `r` succeeds
  OutputRouting out;
  std::string previousLine;  // repeated by an empty line at the prompt
  std::string lastWord;      // the command word executed last
  uint64_t nextListing = 0;  // where a repeated `l` continues
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_DEBUG_SESSION_H
