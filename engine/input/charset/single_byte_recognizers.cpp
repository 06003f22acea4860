#include "engine/input/charset/single_byte_recognizers.h"

#include <algorithm>

namespace Nimbra::Lexora {

const SingleByteRecognizer kSingleByteRecognizers[13] = {
    {"ISO-8859-1", "Windows-1252", 1000, CharMapId::kLatin1, 0x20, TrigramTableId::kDanish, 10},
    {"ISO-8859-2", "Windows-1250", 50, CharMapId::kLatin2, 0x20, TrigramTableId::kCzech, 4},
    {"ISO-8859-5", nullptr, -100, CharMapId::kIso8859_5, 0x20, TrigramTableId::kRussianIso8859_5,
     1},
    {"ISO-8859-6", nullptr, 50, CharMapId::kIso8859_6, 0x20, TrigramTableId::kArabicIso8859_6, 1},
    {"ISO-8859-7", "Windows-1253", 50, CharMapId::kIso8859_7, 0x20, TrigramTableId::kGreek, 1},
    {"ISO-8859-8", "Windows-1255", 50, CharMapId::kIso8859_8, 0x20, TrigramTableId::kHebrewVisual,
     1},
    {"ISO-8859-8-I", "Windows-1255", 50, CharMapId::kIso8859_8, 0x20,
     TrigramTableId::kHebrewLogical, 1},
    {"ISO-8859-9", "Windows-1254", 75, CharMapId::kIso8859_9, 0x20, TrigramTableId::kTurkish, 1},
    {"Windows-1251", nullptr, 100, CharMapId::kWindows1251, 0x20,
     TrigramTableId::kRussianWindows1251, 1},
    {"Windows-1256", nullptr, 0, CharMapId::kWindows1256, 0x20, TrigramTableId::kArabicWindows1256,
     1},
    {"KOI8-R", nullptr, 100, CharMapId::kKoi8R, 0x20, TrigramTableId::kRussianKoi8R, 1},
    {"IBM424_ltr", nullptr, -50, CharMapId::kIbm424, 0x40, TrigramTableId::kHebrewIbm424Visual, 1},
    {"IBM424_rtl", nullptr, -50, CharMapId::kIbm424, 0x40, TrigramTableId::kHebrewIbm424Logical, 1},
};

namespace {

// Trigrams are packed as a << 16 | b << 8 | c and handled a block at a time,
// so that every language table of a map reads one shared list.
constexpr size_t kBlock = 1024;

struct MappedTrigrams {
  uint32_t window = 0;  // the last three mapped characters, newest lowest
  uint32_t shifted = 0;
  uint32_t keys[kBlock];
};

// Maps bytes [from, to) and appends the trigrams that start with a non-zero
// character; returns how many were appended.
size_t MapBlock(const uint8_t* from, const uint8_t* to, const uint8_t* map, uint8_t space,
                MappedTrigrams& state) {
  uint32_t window = state.window;
  size_t count = 0;
  for (const uint8_t* p = from; p < to; ++p) {
    uint8_t b = *p;
    if (b == 0) continue;
    uint32_t c = map[b];
    if (c == space && (window & 0xFF) == space) continue;
    window = (window << 8 | c) & 0xFFFFFF;
    state.keys[count] = window;
    count += (window >> 16) != 0;
  }
  state.window = window;
  return count;
}

uint32_t CountKnown(const uint32_t* keys, size_t count, const uint8_t* table) {
  const uint8_t* rows = table;  // row r (from 1) starts at byte 256 * r
  const uint8_t* bitmaps = table + kTrigramBitmapOffset - 32;
  uint32_t hits = 0;
  for (size_t i = 0; i < count; ++i) {
    uint32_t key = keys[i];
    uint32_t row = table[key >> 16];
    if (row == 0) continue;
    uint32_t bitmap = rows[row * 256 + (key >> 8 & 0xFF)];
    if (bitmap == 0) continue;
    uint32_t c = key & 0xFF;
    hits += (bitmaps[bitmap * 32 + (c >> 3)] >> (c & 7)) & 1;
  }
  return hits;
}

}  // namespace

bool KnowsTrigram(const uint8_t* table, uint8_t a, uint8_t b, uint8_t c) {
  uint32_t key = static_cast<uint32_t>(a) << 16 | b << 8 | c;
  return a != 0 && CountKnown(&key, 1, table) == 1;
}

int32_t SingleByteConfidence(const SampleFacts& sample, uint32_t bestHits, uint32_t trigrams) {
  if (sample.zeros * 100ull >= sample.nonZeros) return 0;
  if (trigrams == 0) return 0;
  double share = static_cast<double>(bestHits) / trigrams;
  return share > 0.33 ? 99 : static_cast<int32_t>(share * 300);
}

void AddSingleByteCandidates(const SampleFacts& sample, CharsetCandidateList& candidates) {
  if (sample.zeros * 100ull >= sample.nonZeros) return;  // no member can score
  MappedTrigrams mapped;
  for (const SingleByteRecognizer& r : kSingleByteRecognizers) {
    const uint8_t* map = CharMap(r.map);
    uint32_t hits[10] = {};
    uint32_t trigrams = 0;
    mapped.window = 0;
    for (size_t start = 0; start < sample.length; start += kBlock) {
      const uint8_t* from = sample.bytes + start;
      const uint8_t* to = sample.bytes + std::min(sample.length, start + kBlock);
      size_t count = MapBlock(from, to, map, r.space, mapped);
      trigrams += static_cast<uint32_t>(count);
      for (size_t t = 0; t < r.tableCount; ++t) {
        auto id = static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t);
        hits[t] += CountKnown(mapped.keys, count, TrigramTable(id));
      }
    }
    uint32_t best = *std::max_element(hits, hits + r.tableCount);
    const char* name = sample.c1Bytes && r.c1Name ? r.c1Name : r.isoName;
    candidates.Add(SingleByteConfidence(sample, best, trigrams), r.weight, name);
  }
}

}  // namespace Nimbra::Lexora
