// The compiled form of a rule script: the program with its statement table,
// and the word-finding tables. Built by one compilation, read-only after the
// link step and shared by the script's runners.
#ifndef LEXORA_ENGINE_COMPILER_COMPILED_SCRIPT_H
#define LEXORA_ENGINE_COMPILER_COMPILED_SCRIPT_H

#include "engine/compiler/program.h"
#include "engine/compiler/word_data.h"

namespace Nimbra::Lexora {

struct CompiledScript {
  Program program;
  WordData words;
  // The script arrived enciphered: expressions are shown by number.
  bool numbered = false;
  bool linked = false;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_COMPILED_SCRIPT_H
