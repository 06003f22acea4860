// What the word finder hands on at each step: the end of the input, or a
// word and whether it is a number word, the only kind of word the class-run
// detectors look at.
#ifndef LEXORA_ENGINE_RUNTIME_WORD_KIND_H
#define LEXORA_ENGINE_RUNTIME_WORD_KIND_H

#include <cstdint>

namespace Nimbra::Lexora {

enum class WordKind : uint8_t { kEndOfInput, kWord, kNumberWord };

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_WORD_KIND_H
