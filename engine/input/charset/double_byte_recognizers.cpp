#include "engine/input/charset/double_byte_recognizers.h"

#include <algorithm>
#include <cmath>

namespace Nimbra::Lexora {
namespace {

// The common-character bitmap; a pair outside it (or a malformed table)
// is simply not common.
class CommonCharTest {
 public:
  explicit CommonCharTest(ByteSpan table) : table_(table) {}
  bool empty() const {
    return table_.size <= 256 ||
           std::none_of(table_.data, table_.data + 256, [](uint8_t n) { return n != 0; });
  }
  bool Contains(uint8_t lead, uint8_t trail) const {
    if (table_.size < 256) return false;
    size_t bitmap = table_.data[lead];
    if (bitmap == 0) return false;
    size_t offset = 256 + (bitmap - 1) * 32 + trail / 8;
    return offset < table_.size && (table_.data[offset] >> (trail & 7)) & 1;
  }

 private:
  ByteSpan table_;
};

enum class Step { kSingle, kDouble, kBad, kCutOff };

// Each charset's byte structure: reads one character at bytes[i], advances
// i past it and says what it was; the pair for the common test in lead/trail.
Step NextBig5(const uint8_t* bytes, size_t length, size_t& i, uint8_t& lead, uint8_t& trail) {
  lead = bytes[i++];
  if (lead < 0x80 || lead == 0xFF) return Step::kSingle;
  if (i >= length) return Step::kCutOff;
  trail = bytes[i++];
  return trail < 0x40 || trail == 0x7F || trail == 0xFF ? Step::kBad : Step::kDouble;
}

Step NextEuc(const uint8_t* bytes, size_t length, size_t& i, uint8_t& lead, uint8_t& trail) {
  uint8_t first = bytes[i++];
  if (first <= 0x8D) return Step::kSingle;
  if (i >= length) return Step::kCutOff;
  uint8_t second = bytes[i++];
  if (first == 0x8F) {
    if (i >= length) return Step::kCutOff;
    lead = second;
    trail = bytes[i++];
    return trail < 0xA1 ? Step::kBad : Step::kDouble;
  }
  lead = first;
  trail = second;
  if (first >= 0xA1 || first == 0x8E) return second < 0xA1 ? Step::kBad : Step::kDouble;
  return Step::kDouble;
}

Step NextGb18030(const uint8_t* bytes, size_t length, size_t& i, uint8_t& lead, uint8_t& trail) {
  lead = bytes[i++];
  if (lead < 0x81 || lead == 0xFF) return Step::kSingle;
  if (i >= length) return Step::kCutOff;
  uint8_t second = bytes[i++];
  if ((second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFE)) {
    trail = second;
    return Step::kDouble;
  }
  if (second < 0x30 || second > 0x39) return Step::kBad;
  if (i >= length) return Step::kCutOff;
  uint8_t third = bytes[i++];
  if (third < 0x81 || third > 0xFE) return Step::kBad;
  if (i >= length) return Step::kCutOff;
  uint8_t fourth = bytes[i++];
  if (fourth < 0x30 || fourth > 0x39) return Step::kBad;
  // Four-byte characters lie outside the two-byte common-character table.
  trail = 0;
  lead = 0;
  return Step::kDouble;
}

Step NextShiftJis(const uint8_t* bytes, size_t length, size_t& i, uint8_t& lead, uint8_t& trail) {
  lead = bytes[i++];
  if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) return Step::kSingle;
  if (i >= length) return Step::kCutOff;
  trail = bytes[i++];
  return trail < 0x40 || trail == 0xFF ? Step::kBad : Step::kDouble;
}

template <Step (*Next)(const uint8_t*, size_t, size_t&, uint8_t&, uint8_t&)>
DoubleByteCounts Walk(const SampleFacts& sample, const CommonCharTest& common) {
  DoubleByteCounts n;
  const uint8_t* bytes = sample.bytes;
  size_t length = sample.length;
  size_t i = 0;
  while (i < length) {
    // Every member reads a run of ASCII as single-byte characters; in East
    // Asian text the runs are short and most characters start none.
    if (bytes[i] != 0 && bytes[i] < 0x80) {
      size_t run = AsciiRunEnd(bytes, i, length);
      n.single += static_cast<int32_t>(run - i);
      i = run;
      if (i == length) break;
    }
    if (bytes[i] == 0) {
      ++n.zeros;
      ++i;
      continue;
    }
    uint8_t lead = 0;
    uint8_t trail = 0;
    switch (Next(bytes, length, i, lead, trail)) {
      case Step::kSingle:
        ++n.single;
        break;
      case Step::kDouble:
        ++n.doubleByte;
        n.common += lead != 0 && common.Contains(lead, trail);
        break;
      case Step::kBad:
        ++n.bad;
        if (n.bad >= 2 && n.bad * 5 >= n.doubleByte) {
          n.rejected = true;
          return n;
        }
        break;
      case Step::kCutOff:
        return n;
    }
  }
  return n;
}

}  // namespace

int32_t DoubleByteConfidence(const DoubleByteCounts& n, bool hasCommonChars) {
  if (n.rejected || (n.bad >= 2 && n.bad * 5 >= n.doubleByte)) return 0;
  if (n.zeros > 0 && n.zeros * 100 >= n.doubleByte + n.single) return 0;
  if (n.doubleByte <= 10 && n.bad == 0) return n.doubleByte > 0 || n.single >= 10 ? 10 : 0;
  if (n.bad * 20 >= n.doubleByte) return 0;
  int32_t confidence;
  if (hasCommonChars) {
    confidence =
        static_cast<int32_t>(std::log(n.common + 1.0) * 90.0 / std::log(n.doubleByte / 4.0) + 10);
  } else {
    confidence = 50 * n.doubleByte / std::max(n.single, 1) - 20 * (n.zeros + n.bad);
  }
  return std::clamp(confidence, 0, 100);
}

int32_t DoubleByteConfidence(const SampleFacts& sample, DoubleByteCharset charset,
                             ByteSpan commonChars) {
  CommonCharTest common(commonChars);
  DoubleByteCounts counts;
  // A zero byte counts as such unless it follows a lead byte, which takes
  // at most three after it (and the end may cut a character off): when even
  // the fewest zeros that can be left are too many for the characters, no
  // walk can give other than 0.
  uint64_t fewestZeros =
      sample.zeros > 3ull * sample.highCount + 3 ? sample.zeros - 3ull * sample.highCount - 3 : 0;
  if (fewestZeros > 0 && fewestZeros * 100 >= sample.nonZeros) return 0;
  if (!sample.highBytes) {
    // Only zeros and single-byte characters, in every member.
    counts.zeros = static_cast<int32_t>(sample.zeros);
    counts.single = static_cast<int32_t>(sample.nonZeros);
    return DoubleByteConfidence(counts, !common.empty());
  }
  switch (charset) {
    case DoubleByteCharset::kBig5:
      counts = Walk<NextBig5>(sample, common);
      break;
    case DoubleByteCharset::kEucJp:
    case DoubleByteCharset::kEucKr:
      counts = Walk<NextEuc>(sample, common);
      break;
    case DoubleByteCharset::kGb18030:
      counts = Walk<NextGb18030>(sample, common);
      break;
    case DoubleByteCharset::kShiftJis:
      counts = Walk<NextShiftJis>(sample, common);
      break;
  }
  return DoubleByteConfidence(counts, !common.empty());
}

}  // namespace Nimbra::Lexora
