#include "engine/debug/startup_file.h"

#include <cstdio>
#include <memory>

#include "engine/debug/command_table.h"
#include "engine/debug/console_line.h"

namespace Nimbra::Lexora {

void RunStartupFile(DebugSession& session) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(kStartupFileName, "r"), std::fclose);
  if (!file) return;
  std::string line;
  for (LineRead read; (read = ReadCommandLine(file.get(), line)) != LineRead::End;) {
    if (read == LineRead::TooLong) {
      Print(session.out.sink(), kLineTooLong);
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    if (ExecuteCommandLine(session, line)) return;
  }
}

}  // namespace Nimbra::Lexora
