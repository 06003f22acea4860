// The word-finding tables of a compiled script.
#ifndef LEXORA_ENGINE_COMPILER_WORD_DATA_H
#define LEXORA_ENGINE_COMPILER_WORD_DATA_H

#include "engine/base/char_classes.h"
#include "engine/compiler/sequence_table.h"
#include "engine/compiler/word_table.h"

namespace Nimbra::Lexora {

struct WordData {
  WordTable folded{false};  // words matched without regard to case, and NUM
  WordTable exact{true};    // words matched with case
  ClassMap classes;
  SequenceTable sequences;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_WORD_DATA_H
