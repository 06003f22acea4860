// load, scan and r: compiling a script and scanning a file with it.
#include "engine/debug/command_table.h"
#include "engine/debug/input_file.h"
#include "engine/language/script_compiler.h"
#include "engine/runtime/scan_pipeline.h"
#include "engine/runtime/scoring.h"
#include "engine/runtime/stopwatch.h"

namespace Nimbra::Lexora {

void LoadCommand(DebugSession& session, const std::string& path) {
  FILE* out = session.out.sink();
  InputFile stream = OpenInputFile(path);
  if (!stream) {
    Print(out, "Error: cannot open script <%s>\n", path);
    return;
  }
  Print(out, "Compiling script <%s>...\n", path);
  Stopwatch watch;
  Compilation compilation = CompileStream(stream.get());
  if (!compilation.script) {
    for (const std::u16string& error : compilation.errors) Print(out, "%ls\n", error);
    return;
  }
  Print(out, "Compile time: %dms\n", watch.Milliseconds());
  session.script = std::move(compilation.script);
}

void ScanCommand(DebugSession& session, const std::string& path) {
  FILE* out = session.out.sink();
  if (!session.script) {
    Print(out, "Error: no script loaded.\n");
    return;
  }
  InputFile stream = OpenInputFile(path);
  if (!stream) {
    Print(out, "Error: cannot open script <%s>\n", path);
    return;
  }
  Stopwatch watch;
  const CompiledScript& script = *session.script;
  ScanPipeline pipeline(script.program, script.words);
  pipeline.Analyse(stream.get(), nullptr);
  pipeline.Execute(nullptr);
  const VirtualMachine& machine = pipeline.machine();
  Print(out, "result=%d. %dms\n\n", TotalScore(script.program, machine.hits(), machine.triggered()),
        watch.Milliseconds());
}

void RunCommand(DebugSession& session, const std::string& path) {
  FILE* out = session.out.sink();
  if (!session.script) {
    Print(out, "No script loaded.\n");
    return;
  }
  session.run.reset();
  InputFile stream = OpenInputFile(path);
  if (!stream) {
    Print(out, "Error: cannot open script <%s>\n", path);
    return;
  }
  session.run = std::make_unique<SteppingRun>(session.script, stream.get());
}

}  // namespace Nimbra::Lexora
