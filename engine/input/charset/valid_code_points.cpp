#include "engine/input/charset/valid_code_points.h"

#include <cstddef>

namespace Nimbra::Lexora {
namespace {

uint32_t ReadLittleEndian32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool IsValidSupplementaryCodePoint(uint32_t c) {
  ByteSpan ranges = ValidSupplementaryRanges();
  size_t low = 0;
  size_t high = ranges.size / 8;
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    const uint8_t* range = ranges.data + middle * 8;
    if (c < ReadLittleEndian32(range)) {
      high = middle;
    } else if (c > ReadLittleEndian32(range + 4)) {
      low = middle + 1;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace Nimbra::Lexora
