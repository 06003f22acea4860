#include "engine/input/charset/sample_facts.h"

#include <cstring>

namespace Nimbra::Lexora {
namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of each byte of w that is not zero (exact, no borrows
// between bytes).
uint64_t NonZeroBytes(uint64_t w) {
  return (((w & ~kHighBits) + ~kHighBits) | w) & kHighBits;
}

// Sixteen byte lanes; a comparison gives 0xFF in the lanes where it holds.
typedef uint8_t ByteVector __attribute__((vector_size(16)));

}  // namespace

SampleFacts SurveySample(const uint8_t* bytes, size_t length) {
  SampleFacts facts;
  facts.bytes = bytes;
  facts.length = length;
  uint32_t zeros = 0;
  uint32_t highCount = 0;
  uint32_t c1 = 0;
  uint32_t escapes = 0;
  // Sixteen bytes at a time, as this pass reads every byte of every sample;
  // a lane counts up to 255 before the lanes are added up.
  size_t i = 0;
  while (i + 16 <= length) {
    ByteVector zeroLanes = {};
    ByteVector highLanes = {};
    ByteVector c1Lanes = {};
    ByteVector escapeLanes = {};
    for (int turn = 0; turn < 255 && i + 16 <= length; ++turn, i += 16) {
      ByteVector v;
      std::memcpy(&v, bytes + i, 16);
      zeroLanes -= reinterpret_cast<ByteVector>(v == 0);
      highLanes -= reinterpret_cast<ByteVector>(v > 0x7F);
      c1Lanes |= reinterpret_cast<ByteVector>((v & 0xE0) == 0x80);
      escapeLanes |= reinterpret_cast<ByteVector>(v == 0x1B);
    }
    for (size_t lane = 0; lane < sizeof(ByteVector); ++lane) {
      zeros += zeroLanes[lane];
      highCount += highLanes[lane];
      c1 |= c1Lanes[lane];
      escapes |= escapeLanes[lane];
    }
  }
  for (; i < length; ++i) {
    uint8_t b = bytes[i];
    zeros += b == 0;
    highCount += b >> 7;
    c1 |= (b & 0xE0) == 0x80;
    escapes |= b == 0x1B;
  }
  facts.zeros = zeros;
  facts.nonZeros = static_cast<uint32_t>(length) - zeros;
  facts.highCount = highCount;
  facts.highBytes = highCount != 0;
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
