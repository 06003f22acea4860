// Compiling a script and analysing a text with it, for the runtime tests.
#ifndef LEXORA_TESTS_RUNTIME_SCAN_SUPPORT_H
#define LEXORA_TESTS_RUNTIME_SCAN_SUPPORT_H

#include <memory>
#include <string>
#include <vector>

#include "engine/language/script_compiler.h"
#include "engine/runtime/word_position_list.h"
#include "runtime/found_words.h"

namespace lexora_test {

// A compiled script; the test fails when the script does not compile.
std::unique_ptr<Nimbra::Lexora::CompiledScript> CompileOrFail(std::u16string_view script);

// The spans recorded for every fixed identifier when `text` is analysed,
// read from a stream that hands out at most `unitsPerRead` units at a time.
std::vector<std::vector<Nimbra::Lexora::Span>> Analyse(const Nimbra::Lexora::CompiledScript& script,
                                                       std::u16string_view text,
                                                       uint32_t unitsPerRead = UINT32_MAX);

// The spans of the identifier whose text is `item`.
std::vector<Nimbra::Lexora::Span> SpansOf(std::u16string_view script, std::u16string_view text,
                                          std::u16string_view item);

}  // namespace lexora_test

#endif  // LEXORA_TESTS_RUNTIME_SCAN_SUPPORT_H
