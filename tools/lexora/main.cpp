// lexora: the engine's main jobs from a shell.
#include <cstdio>
#include <cstring>

#include "lexora2/lexora2.h"
#include "tools/lexora/commands.h"

namespace lexora_cli {

static const Command kCommands[] = {
    {"read", "decode and normalise files as the scanner sees them",
     "usage: lexora read [--encoding NAME] FILE...\n"
     "Prints each file as the engine reads it: decoded to UTF-16 (from its\n"
     "byte-order mark, the given encoding, detection, or ISO-8859-1) and\n"
     "decomposed by compatibility (NFKD), written back as UTF-8.\n",
     RunRead},
};

const Command* FindCommand(const std::string& name) {
  for (const Command& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

bool WantsHelp(const Command& command, const Arguments& args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(command.usage, stdout);
      return true;
    }
  }
  return false;
}

int UsageError(const char* command, const std::string& message) {
  std::fprintf(stderr, "lexora %s: %s\n", command, message.c_str());
  if (const Command* c = FindCommand(command)) std::fputs(c->usage, stderr);
  return 2;
}

static void PrintOverview(FILE* out) {
  std::fputs("usage: lexora COMMAND [ARGS...]\n\ncommands:\n", out);
  for (const Command& c : kCommands) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
  std::fputs("\n'lexora COMMAND --help' describes one command.\n", out);
}

}  // namespace lexora_cli

int main(int argc, char** argv) {
  using namespace lexora_cli;
  if (argc < 2) {
    PrintOverview(stderr);
    return 2;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintOverview(stdout);
    return 0;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) {
    std::fprintf(stderr, "lexora: unknown command '%s'\n", name.c_str());
    PrintOverview(stderr);
    return 2;
  }
  Arguments args(argv + 2, argv + argc);
  if (WantsHelp(*command, args)) return 0;
  LXInitialize();
  int status = command->run(args);
  LXCleanUp();
  return status;
}
