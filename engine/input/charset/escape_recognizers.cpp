#include "engine/input/charset/escape_recognizers.h"

#include <cstring>

namespace Nimbra::Lexora {
namespace {

// The bytes after an escape; `rest` holds how many there are.
bool IsCnSequence(const uint8_t* s, size_t rest) {
  if (rest < 3 || s[0] != 0x24) return false;
  uint8_t a = s[1];
  uint8_t b = s[2];
  if ((a == 0x2A && b == 0x48) || (a == 0x29 && (b == 0x41 || b == 0x47 || b == 0x45))) {
    return true;
  }
  return a == 0x2B && b >= 0x49 && b <= 0x4D;
}

bool IsJpSequence(const uint8_t* s, size_t rest) {
  if (rest < 2) return false;
  uint8_t a = s[0];
  uint8_t b = s[1];
  if (a == 0x28 && (b == 0x42 || b == 0x4A || b == 0x49)) return true;
  if (a == 0x24 && (b == 0x40 || b == 0x42 || b == 0x41)) return true;
  if (a == 0x2E && (b == 0x41 || b == 0x46)) return true;
  if (a == 0x24 && b == 0x28 && rest >= 3) {
    uint8_t c = s[2];
    return c == 0x43 || c == 0x44 || c == 0x4F || c == 0x50 || c == 0x51;
  }
  return false;
}

bool IsKrSequence(const uint8_t* s, size_t rest) {
  return rest >= 3 && s[0] == 0x24 && s[1] == 0x29 && s[2] == 0x43;
}

}  // namespace

int32_t EscapeConfidence(const SampleFacts& sample, EscapeCharset charset) {
  if (!sample.escapes) return 0;
  const uint8_t* bytes = sample.bytes;
  const uint8_t* end = bytes + sample.length;
  for (const uint8_t* p = bytes; p < end; ++p) {
    p = static_cast<const uint8_t*>(std::memchr(p, 0x1B, static_cast<size_t>(end - p)));
    if (p == nullptr) break;
    size_t rest = static_cast<size_t>(end - p - 1);
    bool found = false;
    switch (charset) {
      case EscapeCharset::kIso2022Cn:
        found = IsCnSequence(p + 1, rest);
        break;
      case EscapeCharset::kIso2022Jp:
        found = IsJpSequence(p + 1, rest);
        break;
      case EscapeCharset::kIso2022Kr:
        found = IsKrSequence(p + 1, rest);
        break;
    }
    if (found) return 100;
  }
  return 0;
}

}  // namespace Nimbra::Lexora
