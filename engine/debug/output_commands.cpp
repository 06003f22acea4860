// log and close: moving the output sink to a file and back.
#include "engine/debug/command_table.h"

namespace Nimbra::Lexora {

void LogCommand(DebugSession& session, const std::string& path) {
  if (!session.out.OpenLog(path))
    Print(session.out.sink(), "Error: cannot open script <%s>\n", path);
}

void CloseCommand(DebugSession& session, const std::string&) {
  session.out.CloseLog();
}

}  // namespace Nimbra::Lexora
