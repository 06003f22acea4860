#include "engine/input/charset/seven_bit_rivals.h"

#include <algorithm>
#include <cstring>

#include "engine/input/charset/single_byte_recognizers.h"
#include "engine/input/charset/trained_data.h"

namespace Nimbra::Lexora {
namespace {

constexpr uint32_t kZeroCode = 0;
constexpr uint32_t kSpaceCode = 1;
constexpr uint32_t kCodeBits = 5;
constexpr uint32_t kAlphabet = 1u << kCodeBits;
// Windows a pass adds up before it takes its sums apart.
constexpr size_t kWindowsPerSum = 4096;

uint32_t WindowKey(uint32_t first, uint32_t second, uint32_t third) {
  return first << (2 * kCodeBits) | second << kCodeBits | third;
}

// `current` when `pair` is two spaces, else `next`. A conditional move: in
// text, whether a byte reads as space is close to random, and a branch on
// it would be mispredicted about as often as not.
inline uint32_t UnlessTwoSpaces(uint32_t pair, uint32_t current, uint32_t next) {
  constexpr uint32_t kTwoSpaces = kSpaceCode << kCodeBits | kSpaceCode;
#if defined(__x86_64__)
  asm("cmpl %[two], %[pair]\n\tcmovne %[next], %[current]"
      : [current] "+r"(current)
      : [pair] "r"(pair), [two] "i"(kTwoSpaces), [next] "r"(next)
      : "cc");
  return current;
#else
  return pair == kTwoSpaces ? current : next;
#endif
}

bool SameSevenBitReading(const SingleByteRecognizer& a, const SingleByteRecognizer& b) {
  return a.space == b.space && std::memcmp(CharMap(a.map), CharMap(b.map), 128) == 0;
}

}  // namespace

SevenBitRivals::SevenBitRivals(const char* ownName) {
  for (size_t m = 0; m < kSingleByteRecognizerCount; ++m) {
    // Without high bytes there are no C1 bytes: each member goes by its ISO name.
    if (std::strcmp(SingleByteName(m, false), ownName) == 0) continue;
    auto same = [m](const Group& g) {
      return SameSevenBitReading(kSingleByteRecognizers[g.members[0]], kSingleByteRecognizers[m]);
    };
    auto group = std::find_if(groups_.begin(), groups_.end(), same);
    if (group == groups_.end()) group = groups_.insert(groups_.end(), Group{});
    group->members.push_back(m);
  }
  for (Group& g : groups_) {
    const SingleByteRecognizer& first = kSingleByteRecognizers[g.members[0]];
    const uint8_t* map = CharMap(first.map);
    uint8_t value[kAlphabet] = {0, first.space};
    uint32_t alphabet = 2;
    for (int byte = 1; byte < 128; ++byte) {
      uint8_t v = map[byte];
      uint32_t code = v == 0 ? kZeroCode : v == first.space ? kSpaceCode : alphabet;
      for (uint32_t c = 2; c < alphabet && code == alphabet; ++c) {
        if (value[c] == v) code = c;
      }
      if (code == alphabet) {
        if (alphabet == kAlphabet) {
          usable_ = false;  // more characters than the window keys hold
          return;
        }
        value[alphabet++] = v;
      }
      g.code[byte] = static_cast<uint8_t>(code);
    }
    g.windows.assign(size_t{1} << (3 * kCodeBits), 0);
    for (uint32_t a = 1; a < alphabet; ++a) {
      for (uint32_t b = 0; b < alphabet; ++b) {
        // The thirds that some table of the group knows after {a, b}.
        uint8_t known[32] = {};
        for (size_t member : g.members) {
          const SingleByteRecognizer& r = kSingleByteRecognizers[member];
          for (size_t t = 0; t < r.tableCount; ++t) {
            auto table = static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t);
            const uint8_t* thirds = TrigramTableThirds(TrigramTable(table), value[a], value[b]);
            for (size_t i = 0; thirds && i < sizeof known; ++i) known[i] |= thirds[i];
          }
        }
        for (uint32_t c = 0; c < alphabet; ++c) {
          // Two spaces in a row never both enter the window.
          if (b == kSpaceCode && c == kSpaceCode) continue;
          bool knows = (known[value[c] >> 3] >> (value[c] & 7)) & 1;
          g.windows[WindowKey(a, b, c)] =
              static_cast<uint16_t>(1u << kCountedShift | knows * kKnown);
        }
      }
    }
  }
}

// One group's pass, without first dropping the repeated spaces: a window's
// last two characters are always the last two bytes' (a dropped byte is a
// space after a space), and its first is the byte before them, except after
// two spaces, where it stays what it was before the second.
class SevenBitRivals::Walk {
 public:
  Walk(const Group& group, const uint8_t* bytes)
      : code_(group.code), windows_(group.windows.data()) {
    uint32_t a = code_[bytes[0]];
    b_ = code_[bytes[1]];
    // Two spaces at the start leave the window without a first character: the 0.
    first_ = UnlessTwoSpaces(a << kCodeBits | b_, kZeroCode, a);
  }
  void Step(uint8_t byte) {
    uint32_t c = code_[byte];
    uint32_t pair = b_ << kCodeBits | c;
    sum_ += windows_[first_ << (2 * kCodeBits) | pair];
    first_ = UnlessTwoSpaces(pair, first_, b_);
    b_ = c;
  }
  // Takes the sums apart before they can overflow.
  void Settle(WindowCounts& counts) {
    counts.hits += sum_ & ((1u << kCountedShift) - 1);
    counts.trigrams += sum_ >> kCountedShift;
    sum_ = 0;
  }

 private:
  const uint8_t* code_;
  const uint16_t* windows_;
  uint32_t b_;
  uint32_t first_;
  uint32_t sum_ = 0;
};

// Two groups walk side by side: the byte is loaded once, and the two chains
// of conditional moves overlap.
void SevenBitRivals::Pass(const uint8_t* bytes, size_t length, WindowCounts* counts) const {
  if (length < 3) return;
  for (size_t g = 0; g < groups_.size(); g += 2) {
    Walk x(groups_[g], bytes);
    bool two = g + 1 < groups_.size();
    Walk y(groups_[two ? g + 1 : g], bytes);
    for (size_t start = 2; start < length; start += kWindowsPerSum) {
      size_t end = std::min(length, start + kWindowsPerSum);
      if (two) {
        for (size_t i = start; i < end; ++i) {
          x.Step(bytes[i]);
          y.Step(bytes[i]);
        }
        y.Settle(counts[g + 1]);
      } else {
        for (size_t i = start; i < end; ++i) x.Step(bytes[i]);
      }
      x.Settle(counts[g]);
    }
  }
}

std::vector<SevenBitRivals::GroupCounts> SevenBitRivals::Count(const uint8_t* bytes,
                                                               size_t length) const {
  WindowCounts windows[kSingleByteRecognizerCount];
  Pass(bytes, length, windows);
  std::vector<GroupCounts> counts;
  for (size_t g = 0; g < groups_.size(); ++g) counts.push_back({windows[g], groups_[g].members});
  return counts;
}

bool SevenBitRivals::AllBehind(const SampleFacts& sample, const CharsetCandidate& candidate) const {
  if (!usable_ || sample.highBytes || sample.zeros != 0) return false;
  WindowCounts counts[kSingleByteRecognizerCount];
  Pass(sample.bytes, sample.length, counts);
  for (size_t g = 0; g < groups_.size(); ++g) {
    // The union knows every window any member's table knows, and the
    // confidence only grows with the hits.
    int32_t most = SingleByteConfidence(sample, counts[g].hits, counts[g].trigrams);
    for (size_t member : groups_[g].members) {
      CharsetCandidate rival{most, kSingleByteRecognizers[member].weight,
                             SingleByteName(member, false)};
      if (!PrecedesCandidate(candidate, rival)) return false;
    }
  }
  return true;
}

}  // namespace Nimbra::Lexora
