// lexora: the engine's main jobs from a shell.
#include <cstdio>
#include <cstring>

#include "lexora2/lexora2.h"
#include "tools/lexora/commands.h"
#include "tools/lexora/mail_arguments.h"

namespace lexora_cli {

static const Command kCommands[] = {
    {"read", "decode and normalise files as the scanner sees them",
     "usage: lexora read [--encoding NAME | --mail [--header NAME] [--attachments]] FILE...\n"
     "Prints each file as the engine reads it: decoded to UTF-16 (from its\n"
     "byte-order mark, the given encoding, detection, or ISO-8859-1) and\n"
     "decomposed by compatibility (NFKD), written back as UTF-8.\n" LEXORA_MAIL_USAGE,
     RunRead},
    {"compile", "compile rule scripts and report their errors",
     "usage: lexora compile [--list] SCRIPT...\n"
     "Compiles each script (its charset detected) and prints every error as\n"
     "\"SCRIPT: Line L, column C: message\". With --list, also prints the code\n"
     "listing of each script that compiled, words first.\n"
     "Exit status: 0 all compiled, 1 any failed, 2 usage error.\n",
     RunCompile},
    {"encode", "write the enciphered form of a script",
     "usage: lexora encode SCRIPT > OUT\n"
     "Writes the script in its enciphered \"ENC\" form. OUT compiles to the same\n"
     "code as SCRIPT; its expressions are reported by number.\n",
     RunEncode},
    {"convert", "convert legacy rule lines to statements",
     "usage: lexora convert [--score N] [--weighting CODE|WORD] [LINE...]\n"
     "Converts each legacy line given, or each line of standard input, and prints\n"
     "the statement. Weighting: 1-4 or Standard, \"Once Only\", Decreasing,\n"
     "Increasing (default Standard); score default 10. Warnings and errors go to\n"
     "standard error with the line number. Exit status: 0 all converted, 1 any\n"
     "line had an error, 2 usage error.\n",
     RunConvert},
    {"scan", "scan files or directories with a rule script",
     "usage: lexora scan [options] SCRIPT [FILE|DIR...]\n"
     "Compiles SCRIPT once and scans every file (directories recursively, in name\n"
     "order), printing per file its name, total score and report lines.\n"
     "  --files-from F   also scan the files and directories listed one per line\n"
     "                   in F (\"-\": standard input)\n"
     "  --encoding NAME  encoding hint for files without a byte-order mark\n"
     "  --log FILE       write the runner's timings and trace to FILE (one runner)\n"
     "  --quote          show unnamed expressions by their text in reports\n"
     "  --json           one JSON object per file and line: file, score, triggered\n"
     "                   expressions (index, name, hits, score), error\n"
     "  -j N             scan with N runners on N threads (default: cores)\n" LEXORA_MAIL_USAGE
     "Results are printed in input order. Exit status: 0 every file scanned,\n"
     "1 any failed, 2 usage error.\n",
     RunScan},
    {"detect", "name the encoding of files",
     "usage: lexora detect [-v] FILE...\nPrints \"FILE: NAME\" per file: the encoding the engine "
     "would read it in (byte-order\nmark or declaration, else detection, else ISO-8859-1). With "
     "-v, also every\ndetection candidate with its confidence and weight, best first.\n",
     RunDetect},
    {"debug", "step a rule script over a file, interactively",
     "usage: lexora debug [SCRIPT [INPUT]]\n"
     "Runs the LXD debugger console on standard input and output. With SCRIPT it\n"
     "first runs \"load SCRIPT\", with INPUT also \"r INPUT\"; then the commands of\n"
     "\".lxd\" in the current directory, then the prompt. Commands:\n"
     "  load FILE       compile a script          scan FILE   scan a file, print the score\n"
     "  r FILE          prepare a stepping run    c / n       continue / one instruction\n"
     "  bp / bd ADDR    set / delete a breakpoint (hex)       bl   list breakpoints\n"
     "  k [COUNT]       value stack, top first    hits        statements hit so far\n"
     "  sym all|matched|ID   identifiers and where they matched\n"
     "  dis             whole listing             l [START [COUNT]]  code, 20 at a time\n"
     "  log FILE / close    send output to FILE / back to the terminal\n"
     "  quit, exit      leave; an empty line repeats the previous command\n"
     "Standard input need not be a terminal: commands may be piped in.\n",
     RunDebug},
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
  std::fputs(
      "\n'lexora COMMAND --help' describes one command; 'lexora --version' prints the\n"
      "program's and the library's versions.\n",
      out);
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
  if (name == "--version") {
    LXVersionInfo library{};
    LXGetVersionInfo(&library);
    std::printf("lexora %s\nlexora2 library %u.%u.%u.%u\n", LEXORA_VERSION, library.major,
                library.minor, library.release, library.build);
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
