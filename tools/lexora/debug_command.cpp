// lexora debug: the interactive script debugger on this terminal.
#include "engine/debug/debugger_impl.h"
#include "tools/lexora/commands.h"

namespace lexora_cli {

int RunDebug(const Arguments& args) {
  std::vector<std::string> firstCommands;
  for (const std::string& a : args) {
    if (!a.empty() && a[0] == '-') return UsageError("debug", "unknown option " + a);
  }
  if (args.size() > 2) return UsageError("debug", "too many arguments");
  if (args.size() >= 1) firstCommands.push_back("load " + args[0]);
  if (args.size() == 2) firstCommands.push_back("r " + args[1]);
  auto* debugger = new Nimbra::Lexora::LXDebuggerImpl(stdin, stdout, std::move(firstCommands));
  debugger->Run();
  debugger->Release();
  return 0;
}

}  // namespace lexora_cli
