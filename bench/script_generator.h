// Generated rule scripts for the benchmarks, drawn from a word list.
#ifndef LEXORA_BENCH_SCRIPT_GENERATOR_H
#define LEXORA_BENCH_SCRIPT_GENERATOR_H

#include <cstddef>
#include <string>
#include <vector>

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

// Text of about `bytes` bytes made of the same words with some filler, so
// that a scan finds matches at a realistic rate.
std::u16string GenerateText(const std::vector<std::string>& words, size_t bytes);

}  // namespace lexora_bench

#endif  // LEXORA_BENCH_SCRIPT_GENERATOR_H
