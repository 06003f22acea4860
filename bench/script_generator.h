// Generated rule scripts for the benchmarks, drawn from a word list.
#ifndef LEXORA_BENCH_SCRIPT_GENERATOR_H
#define LEXORA_BENCH_SCRIPT_GENERATOR_H

#include <cstddef>
#include <string>
#include <vector>

#include "lexora2/lexora2.h"

namespace lexora_bench {

// Lower-case alphabetic words of four letters or more: the system dictionary
// (/usr/share/dict/words, Debian's wamerican) when present, else a
// deterministic set of pronounceable pseudo-words.
std::vector<std::string> LoadWordList();

// A script of `statements` lines: mostly single words, some two- and
// three-word phrases, some wildcard patterns, a few NEAR/AND/INSTANCES
// statements, and the CCARD and US-SSN classes. Deterministic for a given
// word list and size.
std::u16string GenerateScript(const std::vector<std::string>& words, size_t statements);

// The largest statement count (to within 250) whose generated script still
// fits the automata limits; computed once.
size_t LargestFittingScript(const std::vector<std::string>& words);

// Compiles a script through the library's interface; null when it fails.
ILXScript* CompileScript(const std::u16string& text);

// Text of about `bytes` bytes made of the same words with some filler, so
// that a scan finds matches at a realistic rate.
std::u16string GenerateText(const std::vector<std::string>& words, size_t bytes);

}  // namespace lexora_bench

#endif  // LEXORA_BENCH_SCRIPT_GENERATOR_H
