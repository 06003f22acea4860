// The subcommands of the lexora command line. Each takes the arguments after
// its name and returns the process exit status: 0 success, 1 failure, 2
// usage error.
#ifndef LEXORA_TOOLS_LEXORA_COMMANDS_H
#define LEXORA_TOOLS_LEXORA_COMMANDS_H

#include <cstdio>
#include <string>
#include <vector>

#include "tools/lexora/stream_handle.h"

namespace lexora_cli {

using Arguments = std::vector<std::string>;

struct Command {
  const char* name;
  const char* summary;
  const char* usage;  // the --help text
  int (*run)(const Arguments& args);
};

int RunRead(const Arguments& args);
int RunCompile(const Arguments& args);
int RunEncode(const Arguments& args);
int RunConvert(const Arguments& args);
int RunScan(const Arguments& args);
int RunDetect(const Arguments& args);
int RunDebug(const Arguments& args);

// Compiles a script file read through a file stream (charset detected);
// null with `error` set when the file cannot be opened.
Handle<ILXScript> CompileScriptFile(const std::string& path, std::string& error);
// The code listing of a compiled script, with its word section.
void PrintListing(ILXScript& script, FILE* out);

// True when args holds --help or -h; prints the command's usage then.
bool WantsHelp(const Command& command, const Arguments& args);
const Command* FindCommand(const std::string& name);
// Prints "lexora NAME: message" and the usage line to standard error; returns 2.
int UsageError(const char* command, const std::string& message);

}  // namespace lexora_cli

#endif  // LEXORA_TOOLS_LEXORA_COMMANDS_H
