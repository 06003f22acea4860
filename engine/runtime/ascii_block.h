// Classifies 64 units of text at once for the word finder's pass over
// absent words: which are ASCII word characters, which are ASCII separators
// that end nothing, and the packed key of a short ASCII word. With SSE2
// (every x86-64) sixteen units take a few instructions and no branch;
// elsewhere a loop over the units does the same, and is the reference the
// tests hold the fast form to.
#ifndef LEXORA_ENGINE_RUNTIME_ASCII_BLOCK_H
#define LEXORA_ENGINE_RUNTIME_ASCII_BLOCK_H

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/compiler/ascii_word_filter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Nimbra::Lexora {

inline constexpr size_t kAsciiBlockUnits = 64;

struct AsciiBlock {
  uint64_t words = 0;       // bit i: unit i is an ASCII word character
  uint64_t separators = 0;  // bit i: unit i is an ASCII separator ending nothing
};

// `read` lists the ASCII units, neither word characters nor joiners, that
// an automaton reads: they end nothing only when absent from it. NUL counts
// as no separator.
AsciiBlock ClassifyAsciiBlockByUnit(const char16_t* units, std::string_view read);
// The key of the `length` units from `units` (at most the filter's maximum,
// all ASCII word characters), case folded; reads 16 units.
AsciiWordFilter::Key AsciiKeyByUnit(const char16_t* units, size_t length);

#if defined(__SSE2__)
namespace ascii_block {

inline __m128i Within(__m128i bytes, char first, char last) {
  return _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(first - 1))),
                       _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(last + 1))));
}
// Sixteen units as bytes: ASCII stays, anything above saturates to 0x00 or
// 0xFF (0x80 and up read as negative), neither of which is classified.
inline __m128i Bytes(const char16_t* units) {
  return _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + 8)));
}
// The word characters: digits, letters, '^' and '`' (a test holds this to
// the unit roles).
inline __m128i WordBytes(__m128i bytes) {
  const __m128i letters = Within(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), 'a', 'z');
  return _mm_or_si128(_mm_or_si128(letters, Within(bytes, '0', '9')),
                      _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('^')),
                                   _mm_cmpeq_epi8(bytes, _mm_set1_epi8('`'))));
}

}  // namespace ascii_block

inline AsciiBlock ClassifyAsciiBlock(const char16_t* units, std::string_view read) {
  using namespace ascii_block;
  AsciiBlock block;
  for (size_t k = 0; k < kAsciiBlockUnits / 16; ++k) {
    const __m128i bytes = Bytes(units + 16 * k);
    const __m128i word = WordBytes(bytes);
    __m128i other = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\'')),
                                 _mm_cmpeq_epi8(bytes, _mm_set1_epi8('-')));
    for (char c : read) other = _mm_or_si128(other, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)));
    const __m128i ascii = _mm_cmpgt_epi8(bytes, _mm_setzero_si128());
    const __m128i separator = _mm_andnot_si128(_mm_or_si128(word, other), ascii);
    block.words |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(word)))
                   << (16 * k);
    block.separators |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(separator)))
                        << (16 * k);
  }
  return block;
}

inline AsciiWordFilter::Key AsciiKey(const char16_t* units, size_t length) {
  using namespace ascii_block;
  const __m128i bytes = Bytes(units);
  const __m128i folded =
      _mm_or_si128(bytes, _mm_and_si128(Within(bytes, 'A', 'Z'), _mm_set1_epi8(0x20)));
  const __m128i kept = _mm_and_si128(
      folded, _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(length)),
                             _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)));
  return {static_cast<uint64_t>(_mm_cvtsi128_si64(kept)),
          static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(kept, kept)))};
}
#else
inline AsciiBlock ClassifyAsciiBlock(const char16_t* units, std::string_view read) {
  return ClassifyAsciiBlockByUnit(units, read);
}
inline AsciiWordFilter::Key AsciiKey(const char16_t* units, size_t length) {
  return AsciiKeyByUnit(units, length);
}
#endif

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_ASCII_BLOCK_H
