// dis, sym, l and hits: the script's code and symbols, and the run's hits.
#include <algorithm>

#include "engine/base/exceptions.h"
#include "engine/compiler/listing.h"
#include "engine/debug/command_arguments.h"
#include "engine/debug/command_table.h"

namespace Nimbra::Lexora {
namespace {

// Listings and symbols need a script: RuntimeError "no script loaded.".
const CompiledScript& ScriptOrError(const DebugSession& session) {
  if (!session.script) throw RuntimeError(u"no script loaded.");
  return *session.script;
}

constexpr uint32_t kListingPage = 20;

// One symbol: "[id] text", then ": value" from the run when there is one.
void PrintSymbol(FILE* out, const Program& program, const SteppingRun* run, uint32_t id) {
  Print(out, "[%d] %ls", id, program.IdentifierText(id));
  if (!run) {
    Print(out, "\n");
    return;
  }
  const WordPositionList& positions = run->machine().positions();
  // An identifier beyond the run's records, temporaries included, has no
  // positions.
  std::string value = id < positions.size() ? Value::OfIdentifier(id).Text(positions) : "null";
  Print(out, ": %s\n", value);
}

}  // namespace

void DisassembleCommand(DebugSession& session, const std::string&) {
  ScriptOrError(session);
  WriteListing(session.out.sink(), session.ShownProgram(), 0, -1, true);
}

// Without a stepping run of the current script, `all` lists the texts
// alone and `matched` lists nothing.
void SymbolsCommand(DebugSession& session, const std::string& argument) {
  const Program& program = ScriptOrError(session).program;
  const SteppingRun* run = session.RunOfScript();
  FILE* out = session.out.console();
  const bool all = argument == "all";
  if (all || argument == "matched") {
    for (uint32_t id = 0; id < program.identifierCount(); ++id) {
      bool matched = run && !run->machine().positions().SpansOf(id).empty();
      if (all || matched) PrintSymbol(out, program, run, id);
    }
    return;
  }
  std::vector<uint32_t> id = DecimalArguments(argument, 1);
  if (id.empty()) throw RuntimeError(u"Invalid number: %s", argument);
  PrintSymbol(out, program, run, id[0]);
}

void ListCommand(DebugSession& session, const std::string& argument) {
  const bool continuing = session.lastWord == "l";
  ScriptOrError(session);
  const Program& program = session.ShownProgram();
  std::vector<uint32_t> numbers = DecimalArguments(argument, 2);
  uint64_t start = 0;
  if (!numbers.empty()) {
    start = numbers[0];
  } else if (continuing) {
    start = session.nextListing;
  } else if (session.run) {
    start = session.run->machine().instructionPointer();
  }
  const uint32_t count = numbers.size() == 2 ? numbers[1] : kListingPage;
  // Past the end of the code nothing is listed; the start stays in range.
  const uint32_t from = static_cast<uint32_t>(std::min<uint64_t>(start, UINT32_MAX));
  WriteListing(session.out.sink(), program, from, count, false);
  session.nextListing = start + count;
}

void HitsCommand(DebugSession& session, const std::string&) {
  if (!session.run) return;
  FILE* out = session.out.console();
  const Program& program = session.run->program();
  std::span<const uint32_t> hits = session.run->machine().hits();
  Print(out, "\n\nExecute Context\n");
  for (uint32_t index = 0; index < hits.size(); ++index) {
    if (hits[index] == 0) continue;
    Print(out, "[*] stmt: %d, hits: %d\n    -> %ls\n", index, hits[index],
          program.StatementText(index));
  }
}

}  // namespace Nimbra::Lexora
