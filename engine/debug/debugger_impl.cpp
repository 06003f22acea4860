#include "engine/debug/debugger_impl.h"

#include <exception>
#include <filesystem>

#include "engine/base/exceptions.h"
#include "engine/debug/command_table.h"
#include "engine/debug/console_line.h"
#include "engine/debug/startup_file.h"
#include "engine/diag/fault_translation.h"

namespace Nimbra::Lexora {
namespace {

// "<unknown>" when the current directory cannot be read (removed, or no
// permission on a parent).
std::string CurrentDirectory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? "<unknown>" : path.string();
}

}  // namespace

void LXDebuggerImpl::Run() {
  FILE* console = session_.out.console();
  try {
    GuardFaults("Debugger", [&] { Console(); });
  } catch (const LXException& e) {
    Print(console, "%ls\n", e.message());
  } catch (const std::exception& e) {
    Print(console, "%s\n", e.what());
  }
  session_.out.Flush();
}

void LXDebuggerImpl::Console() {
  Print(session_.out.console(), "Welcome to LXD\ncwd: %s\n", CurrentDirectory());
  for (const std::string& command : firstCommands_) {
    if (ExecuteCommandLine(session_, command)) return;
  }
  RunStartupFile(session_);
  PromptLoop();
}

void LXDebuggerImpl::PromptLoop() {
  FILE* console = session_.out.console();
  std::string line;
  for (;;) {
    Print(console, ">>> ");
    std::fflush(console);
    LineRead read = ReadCommandLine(in_, line);
    if (read == LineRead::End) return;
    if (read == LineRead::TooLong) {
      Print(session_.out.sink(), kLineTooLong);
      continue;
    }
    if (line.empty()) line = session_.previousLine;
    if (ExecuteCommandLine(session_, line)) return;
    session_.previousLine = line;
  }
}

}  // namespace Nimbra::Lexora
