// The debugger's console commands and how a command line is executed.
#ifndef LEXORA_ENGINE_DEBUG_COMMAND_TABLE_H
#define LEXORA_ENGINE_DEBUG_COMMAND_TABLE_H

#include <string>

#include "engine/debug/debug_session.h"

namespace Nimbra::Lexora {

// Executes one command line: the command word runs up to the first white
// space, its argument starts at the next character that is not white
// space. An error ends the command only, printed on the output sink.
// Returns true when the command asks to quit.
bool ExecuteCommandLine(DebugSession& session, const std::string& line);

// The commands, by the file that implements them. Each takes the argument.
void LoadCommand(DebugSession& session, const std::string& argument);
void ScanCommand(DebugSession& session, const std::string& argument);
void RunCommand(DebugSession& session, const std::string& argument);
void ContinueCommand(DebugSession& session, const std::string& argument);
void NextCommand(DebugSession& session, const std::string& argument);
void BreakpointCommand(DebugSession& session, const std::string& argument);
void DeleteBreakpointCommand(DebugSession& session, const std::string& argument);
void ListBreakpointsCommand(DebugSession& session, const std::string& argument);
void StackCommand(DebugSession& session, const std::string& argument);
void DisassembleCommand(DebugSession& session, const std::string& argument);
void SymbolsCommand(DebugSession& session, const std::string& argument);
void ListCommand(DebugSession& session, const std::string& argument);
void HitsCommand(DebugSession& session, const std::string& argument);
void LogCommand(DebugSession& session, const std::string& argument);
void CloseCommand(DebugSession& session, const std::string& argument);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_COMMAND_TABLE_H
