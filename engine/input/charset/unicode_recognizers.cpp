#include "engine/input/charset/unicode_recognizers.h"

#include "engine/input/charset/valid_code_points.h"

namespace Nimbra::Lexora {
namespace {

struct Utf8Counts {
  int32_t errors = 0;
  int32_t zeros = 0;
  int32_t valid = 0;
  int32_t multiByte = 0;
};

bool IsContinuation(uint8_t b) {
  return (b & 0xC0) == 0x80;
}

// Walks the sample; false when a fourth error rejects it.
bool WalkUtf8(const SampleFacts& sample, Utf8Counts& counts) {
  if (!sample.highBytes) {
    // Without high bytes the walk only sorts zeros from other characters.
    counts.zeros = static_cast<int32_t>(sample.zeros);
    counts.valid = static_cast<int32_t>(sample.nonZeros);
    return true;
  }
  const uint8_t* bytes = sample.bytes;
  size_t length = sample.length;
  size_t i = 0;
  while (i < length) {
    uint8_t lead = bytes[i];
    if (lead < 0x80) {
      if (lead == 0) {
        ++counts.zeros;
      } else {
        ++counts.valid;
      }
      ++i;
      continue;
    }
    size_t trail;
    uint32_t c;
    uint32_t shortest;  // the lowest code point that needs this many bytes
    if (lead >= 0xC0 && lead <= 0xDF) {
      trail = 1;
      c = lead & 0x1F;
      shortest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trail = 2;
      c = lead & 0x0F;
      shortest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF7) {
      trail = 3;
      c = lead & 0x07;
      shortest = 0x10000;
    } else {
      trail = 0;
      c = 0;
      shortest = 0;
    }
    size_t taken = 1;  // the lead and the continuation bytes read so far
    for (; taken <= trail; ++taken) {
      if (i + taken >= length) return true;  // cut off by the sample's end
      if (!IsContinuation(bytes[i + taken])) break;
      c = c << 6 | (bytes[i + taken] & 0x3F);
    }
    i += taken;
    // An overlong form is no UTF-8 character (a decoder replaces it), and
    // single-byte text forms them easily: "\xC0\xA0" is "A-grave, no-break
    // space" in Latin-1.
    if (trail > 0 && taken == trail + 1 && c >= shortest && IsValidCodePoint(c)) {
      ++counts.valid;
      if (++counts.multiByte == 4) return true;
      continue;
    }
    // Only the bytes of the broken sequence itself are passed over: a stray
    // continuation byte is an error of its own, so that text in a double-byte
    // charset, whose trail bytes are often in 80-BF, cannot hide its errors.
    if (++counts.errors == 4) return false;
  }
  return true;
}

uint16_t Unit(const uint8_t* p, bool bigEndian) {
  return bigEndian ? static_cast<uint16_t>(p[0] << 8 | p[1])
                   : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

}  // namespace

int32_t SevenBitConfidence(const SampleFacts& sample) {
  if (sample.highBytes) return 0;
  return sample.zeros * 100ull < sample.nonZeros ? 75 : 0;
}

int32_t Utf8Confidence(const SampleFacts& sample) {
  Utf8Counts n;
  if (!WalkUtf8(sample, n)) return 0;
  if (n.errors >= 3) return 0;
  if (n.multiByte >= 4) return 100;
  int32_t faults = n.zeros + n.errors;
  // One complete character and not a single error or zero byte in the whole
  // sample is proof enough: the high bytes of single-byte text hardly ever
  // all form valid sequences. At 80, mostly-ASCII Latin text in UTF-8 would
  // lose to a single-byte table that knows a third of its trigrams (99).
  if (n.multiByte > 0 && faults == 0) return 100;
  if (faults != 0 && n.valid / faults < 50) return 0;
  if (n.multiByte > 0) {
    if (n.errors == 0) return 80;
    return n.errors * 10 < n.multiByte ? 30 : 0;
  }
  return faults == 0 ? 20 : 0;
}

int32_t Utf16Confidence(const SampleFacts& sample, bool bigEndian) {
  if (sample.length % 2 != 0) return 0;
  const uint8_t* bytes = sample.bytes;
  size_t units = sample.length / 2;
  int32_t errors = 0;
  int32_t valid = 0;
  int32_t sevenBit = 0;
  int32_t common = 0;
  const uint8_t* bmp = ValidBmpBitmap();
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = Unit(bytes + 2 * i, bigEndian);
    bool good = true;
    if (c >= 0xD800 && c <= 0xDBFF) {
      uint32_t low = i + 1 < units ? Unit(bytes + 2 * (i + 1), bigEndian) : 0;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else {
        good = false;
      }
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      good = false;
    }
    if (!good || !IsValidCodePoint(c, bmp)) {
      if (++errors == 3) return 0;
      continue;
    }
    ++valid;
    sevenBit += c < 128;
    common += IsCommonUtf16WhiteSpace(c);
  }
  // A sample without a single valid character says nothing for UTF-16;
  // the 7-bit test below would otherwise pass it with 0 >= 0.
  if (valid == 0) return 0;
  if (sevenBit * 7 >= valid) return 85;
  if (common == 0 || valid / common > 50) return 0;
  if (errors == 0) return 50;
  return valid >= errors * 1000 ? 25 : 0;
}

}  // namespace Nimbra::Lexora
