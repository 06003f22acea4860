// What the compiled word tables accept, for the compiler's tests. The tests
// state behaviour (which word ids a table accepts for a word, in which
// order); only this helper reads the automata, so a rebuilt word matcher
// changes it alone.
#ifndef LEXORA_TESTS_COMPILER_WORD_MATCHING_H
#define LEXORA_TESTS_COMPILER_WORD_MATCHING_H

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compiler/word_table.h"

namespace lexora_test {

// The word ids a built table accepts for `word` followed by a separator,
// stepped as the word finder steps a word: the literal automaton's word
// first, then the wildcard automaton's, in the order its final states are
// reached. Every unit of `word` must be a word character.
std::vector<uint32_t> AcceptedIds(const Nimbra::Lexora::WordTable& table, std::u16string_view word);

// A random string of `minLength` to `maxLength` units drawn from `units`.
std::u16string RandomString(std::mt19937& random, std::u16string_view units, size_t minLength,
                            size_t maxLength);

}  // namespace lexora_test

#endif  // LEXORA_TESTS_COMPILER_WORD_MATCHING_H
