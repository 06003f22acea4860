// Compiling a script text from a stream: the reader, lexer and parser, with
// every failure turned into an error message.
#ifndef LEXORA_ENGINE_LANGUAGE_SCRIPT_COMPILER_H
#define LEXORA_ENGINE_LANGUAGE_SCRIPT_COMPILER_H

#include <memory>
#include <string>
#include <vector>

#include "engine/compiler/compiled_script.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

struct Compilation {
  std::unique_ptr<CompiledScript> script;  // null unless the whole script compiled
  std::vector<std::u16string> errors;      // one message per failing statement
};

// Reads the stream to its end. Never throws an engine or standard exception.
Compilation CompileStream(ILXStream* stream);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_LANGUAGE_SCRIPT_COMPILER_H
