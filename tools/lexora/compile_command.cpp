// lexora compile: compiles script files and prints their errors.
#include <cstdio>
#include <string>

#include "engine/api/script_impl.h"
#include "engine/base/utf.h"
#include "engine/compiler/listing.h"
#include "tools/lexora/commands.h"
#include "tools/lexora/stream_handle.h"

namespace lexora_cli {

int RunCompile(const Arguments& args) {
  bool list = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--list") {
      list = true;
    } else if (!a.empty() && a[0] == '-') {
      return UsageError("compile", "unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return UsageError("compile", "no script given");
  int status = 0;
  for (const std::string& file : files) {
    std::string error;
    Handle<ILXScript> script = CompileScriptFile(file, error);
    if (!script) {
      std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
      status = 1;
      continue;
    }
    if (script->GetErrorCount() > 0) {
      for (uint32_t i = 0; i < script->GetErrorCount(); ++i) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(),
                     Nimbra::Lexora::Utf16ToUtf8(script->GetError(i)).c_str());
      }
      status = 1;
      continue;
    }
    if (list) PrintListing(*script, stdout);
  }
  return status;
}

Handle<ILXScript> CompileScriptFile(const std::string& path, std::string& error) {
  StreamHandle stream(CreateFileStream(path.c_str()));
  if (!stream) {
    error = "cannot open";
    return nullptr;
  }
  Handle<ILXScript> script(CreateLXScript());
  if (!script) {
    error = "cannot create a script";
    return nullptr;
  }
  script->Compile(stream.get());
  return script;
}

}  // namespace lexora_cli

namespace lexora_cli {

// The tool links the engine itself, so it may look inside the script object.
void PrintListing(ILXScript& script, FILE* out) {
  const auto& compiled = static_cast<Nimbra::Lexora::LXScriptImpl&>(script).compiled();
  if (compiled) Nimbra::Lexora::WriteListing(out, compiled->program, 0, -1, true);
}

}  // namespace lexora_cli
