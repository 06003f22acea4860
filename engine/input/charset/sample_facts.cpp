#include "engine/input/charset/sample_facts.h"

#include <cstring>

namespace Nimbra::Lexora {
namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of each byte of w that is not zero (exact, no borrows
// between bytes).
uint64_t NonZeroBytes(uint64_t w) {
  return (((w & ~kHighBits) + ~kHighBits) | w) & kHighBits;
}

// The high bit of each byte of w that is at least `bound` (below 0x80).
uint64_t BytesAtLeast(uint64_t w, uint8_t bound) {
  return (((w & ~kHighBits) + (0x80 - bound) * kOnes) | w) & kHighBits;
}

}  // namespace

SampleFacts SurveySample(const uint8_t* bytes, size_t length) {
  SampleFacts facts;
  facts.bytes = bytes;
  facts.length = length;
  uint32_t zeros = 0;
  uint32_t highCount = 0;
  uint64_t high = 0;
  uint64_t c1 = 0;
  uint64_t escapes = 0;
  // Eight bytes at a time: this pass reads every byte of every sample.
  size_t i = 0;
  for (; i + 8 <= length; i += 8) {
    uint64_t w;
    std::memcpy(&w, bytes + i, 8);
    // The marks sit one to a byte: a multiplication adds them up, where
    // std::popcount would be a library call on the baseline instruction set.
    zeros += 8 - static_cast<uint32_t>(((NonZeroBytes(w) >> 7) * kOnes) >> 56);
    high |= w & kHighBits;
    highCount += static_cast<uint32_t>((((w & kHighBits) >> 7) * kOnes) >> 56);
    // 80-9F become 00-1F when the high bit is flipped.
    c1 |= ~BytesAtLeast(w ^ kHighBits, 0x20) & kHighBits;
    escapes |= ~NonZeroBytes(w ^ (0x1B * kOnes)) & kHighBits;
  }
  for (; i < length; ++i) {
    uint8_t b = bytes[i];
    zeros += b == 0;
    high |= b & 0x80;
    highCount += b >> 7;
    c1 |= (b & 0xE0) == 0x80;
    escapes |= b == 0x1B;
  }
  facts.zeros = zeros;
  facts.nonZeros = static_cast<uint32_t>(length) - zeros;
  facts.highCount = highCount;
  facts.highBytes = high != 0;
  facts.c1Bytes = c1 != 0;
  facts.escapes = escapes != 0;
  return facts;
}

size_t AsciiRunEnd(const uint8_t* bytes, size_t from, size_t length) {
  // Eight bytes at a time while all of them are in the run: text is mostly
  // such runs, and every recognizer that walks the sample passes over them.
  size_t i = from;
  for (; i + 8 <= length; i += 8) {
    uint64_t w;
    std::memcpy(&w, bytes + i, 8);
    if ((w & kHighBits) != 0 || NonZeroBytes(w) != kHighBits) break;
  }
  while (i < length && bytes[i] != 0 && bytes[i] < 0x80) ++i;
  return i;
}

}  // namespace Nimbra::Lexora
