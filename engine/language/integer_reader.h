// Integers in option values and operator parameters.
#ifndef LEXORA_ENGINE_LANGUAGE_INTEGER_READER_H
#define LEXORA_ENGINE_LANGUAGE_INTEGER_READER_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace Nimbra::Lexora {

struct ReadInteger {
  int32_t value;
  bool complete;  // the text held at least one digit and nothing after them
};

// Leading white space, an optional '-', then ASCII digits; saturates at the
// 32-bit limits. Reading stops at the first other code unit.
ReadInteger ReadLeadingInteger(std::u16string_view text);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_LANGUAGE_INTEGER_READER_H
