// The interactive script debugger: a console that compiles scripts, scans
// files, steps the statement code with breakpoints and shows what it did.
#ifndef LEXORA_ENGINE_DEBUG_DEBUGGER_IMPL_H
#define LEXORA_ENGINE_DEBUG_DEBUGGER_IMPL_H

#include <cstdio>
#include <string>
#include <vector>

#include "engine/base/lx_object.h"
#include "engine/debug/debug_session.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class LXDebuggerImpl : public LXInterfaceObject<ILXDebugger> {
 public:
  // Reads commands from `in` and writes to `console` (standard input and
  // output for hosts); `firstCommands` run after the welcome, before the
  // start-up file.
  explicit LXDebuggerImpl(FILE* in = stdin, FILE* console = stdout,
                          std::vector<std::string> firstCommands = {})
      : in_(in), firstCommands_(std::move(firstCommands)), session_(console) {}

  // Runs the console until a command quits or the input ends. The script,
  // stepping run and log stay for the next Run.
  void Run() override;

 private:
  void Console();
  void PromptLoop();

  FILE* in_;
  std::vector<std::string> firstCommands_;
  DebugSession session_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_DEBUGGER_IMPL_H
