#include "engine/debug/command_table.h"

#include <cctype>
#include <exception>

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

struct CommandEntry {
  const char* word;
  void (*run)(DebugSession&, const std::string&);  // null: the command quits
};

// Tested in this order; words compare exactly and case-sensitively.
constexpr CommandEntry kCommands[] = {
    {"load", LoadCommand},     {"scan", ScanCommand},           {"quit", nullptr},
    {"exit", nullptr},         {"dis", DisassembleCommand},     {"sym", SymbolsCommand},
    {"r", RunCommand},         {"c", ContinueCommand},          {"n", NextCommand},
    {"bp", BreakpointCommand}, {"bd", DeleteBreakpointCommand}, {"bl", ListBreakpointsCommand},
    {"log", LogCommand},       {"close", CloseCommand},         {"k", StackCommand},
    {"l", ListCommand},        {"hits", HitsCommand},
};

bool IsSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool ExecuteCommandLine(DebugSession& session, const std::string& line) {
  size_t wordEnd = 0;
  while (wordEnd < line.size() && !IsSpace(line[wordEnd])) ++wordEnd;
  size_t argumentStart = wordEnd;
  while (argumentStart < line.size() && IsSpace(line[argumentStart])) ++argumentStart;
  const std::string word = line.substr(0, wordEnd);
  const std::string argument = line.substr(argumentStart);

  const CommandEntry* command = nullptr;
  for (const CommandEntry& c : kCommands) {
    if (word == c.word) {
      command = &c;
      break;
    }
  }
  if (command && command->run == nullptr) return true;
  try {
    if (command) {
      command->run(session, argument);
    } else {
      Print(session.out.sink(), "Invalid cmd: %s\n", word);
    }
  } catch (const LXException& e) {
    Print(session.out.sink(), "Error: %ls\n", e.message());
  } catch (const std::exception& e) {
    Print(session.out.sink(), "Error: %s\n", e.what());
  }
  session.lastWord = word;
  session.out.Flush();
  return false;
}

}  // namespace Nimbra::Lexora
