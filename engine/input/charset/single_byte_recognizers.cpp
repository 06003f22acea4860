#include "engine/input/charset/single_byte_recognizers.h"

#include <algorithm>

#include "engine/input/charset/field_spread.h"
#include "engine/input/charset/trigram_index.h"

namespace Nimbra::Lexora {

const SingleByteRecognizer kSingleByteRecognizers[kSingleByteRecognizerCount] = {
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

// Per-table hit counts are kept in fields of one word and moved to full
// counters before a field can overflow.
void Flush(uint64_t& fields, size_t tables, SingleByteMapCounts& counts) {
  for (size_t t = 0; t < tables; ++t) counts.hits[t] += FieldOf(fields, t);
  fields = 0;
}

// The bytes of [from, to) that enter the trigram window. A space is dropped
// after a space; since a dropped character is itself a space, that is the
// same as dropping a space whose previous non-zero byte reads as a space,
// which needs no look at what was kept and so no chain from one byte to the
// next. Which bytes are kept depends only on which bytes read as space.
template <bool kZeros>
size_t KeptBytes(const uint8_t* from, const uint8_t* to, const uint8_t* codes,
                 uint32_t& previousSpace, uint8_t* kept) {
  size_t n = 0;
  for (const uint8_t* p = from; p < to; ++p) {
    uint32_t space = codes[*p] == TrigramIndex::kSpace;
    kept[n] = *p;
    if constexpr (kZeros) {
      uint32_t nonZero = *p != 0;
      n += nonZero & !(space & previousSpace);
      previousSpace = nonZero ? space : previousSpace;
    } else {
      n += !(space & previousSpace);
      previousSpace = space;
    }
  }
  return n;
}

// The same for bytes none of which is 0, two a turn.
size_t KeptBytesWithoutZeros(const uint8_t* from, const uint8_t* to, const uint8_t* codes,
                             uint32_t& previousSpace, uint8_t* kept) {
  size_t n = 0;
  const uint8_t* p = from;
  for (; p + 2 <= to; p += 2) {
    uint32_t first = codes[p[0]] == TrigramIndex::kSpace;
    uint32_t second = codes[p[1]] == TrigramIndex::kSpace;
    kept[n] = p[0];
    n += !(first & previousSpace);
    kept[n] = p[1];
    n += !(second & first);
    previousSpace = second;
  }
  return n + KeptBytes<false>(p, to, codes, previousSpace, kept + n);
}

// Most samples have no zero byte, and then every byte is one to look at.
size_t KeptBytes(const SampleFacts& sample, const uint8_t* from, const uint8_t* to,
                 const uint8_t* codes, uint32_t& previousSpace, uint8_t* kept) {
  if (sample.zeros == 0) return KeptBytesWithoutZeros(from, to, codes, previousSpace, kept);
  return KeptBytes<true>(from, to, codes, previousSpace, kept);
}

// The windows ending at kept[from] .. kept[end - 1]: adds each table's hits
// to counts.hits and, with kTrigrams, the windows that count to
// counts.trigrams. A single table needs no spreading of masks into fields.
template <bool kSingleTable, bool kTrigrams>
void CountWindows(const uint8_t* kept, size_t from, size_t end, const TrigramIndex& index,
                  SingleByteMapCounts& counts) {
  const uint32_t* keys = index.pairKeys();
  const uint32_t* pairSlots = index.pairSlots();
  const uint16_t* masks = index.masks();
  const uint8_t* known = index.known();
  uint32_t a = keys[kept[from - 2]];
  uint32_t b = keys[kept[from - 1]];
  for (size_t block = from; block < end; block += kFieldMax) {
    size_t blockEnd = std::min<size_t>(end, block + kFieldMax);
    uint64_t fields = 0;
    uint32_t uncounted = 0;
    uint32_t single = 0;
    // The window {a, b, c}. A window counts when its first character is
    // not the map's 0; the 0's pairs have the empty slot, so such a window
    // is never known.
    auto tally = [&](uint32_t a, uint32_t b, uint32_t c) {
      if constexpr (kTrigrams) uncounted += a == TrigramIndex::kZero;
      uint32_t row = pairSlots[(a >> 8) + (b & 0xFF)];
      if constexpr (kSingleTable) {
        single += known[row + (c & 0xFF)];
      } else {
        fields += kFieldSpread.of[masks[row + (c & 0xFF)]];
      }
    };
    // Two windows a turn, so that the characters need not move along.
    size_t j = block;
    for (; j + 2 <= blockEnd; j += 2) {
      uint32_t c = keys[kept[j]];
      uint32_t d = keys[kept[j + 1]];
      tally(a, b, c);
      tally(b, c, d);
      a = c;
      b = d;
    }
    if (j < blockEnd) {
      uint32_t c = keys[kept[j]];
      tally(a, b, c);
      a = b;
      b = c;
    }
    if constexpr (kTrigrams) counts.trigrams += static_cast<uint32_t>(blockEnd - block) - uncounted;
    if constexpr (kSingleTable) {
      counts.hits[0] += single;
    } else {
      Flush(fields, TrigramIndex::kMaxTables, counts);
    }
  }
}

// Without kTrigrams, counts.trigrams is left alone: the live windows know
// them already.
template <bool kTrigrams>
void CountWindows(const uint8_t* kept, size_t from, size_t end, const TrigramIndex& index,
                  SingleByteMapCounts& counts) {
  if (index.tableCount() == 1) {
    CountWindows<true, kTrigrams>(kept, from, end, index, counts);
  } else {
    CountWindows<false, kTrigrams>(kept, from, end, index, counts);
  }
}

uint32_t BestHits(const SingleByteMapCounts& counts, size_t member) {
  const uint32_t* hits = counts.hits + FirstTableInIndex(member);
  return *std::max_element(hits, hits + kSingleByteRecognizers[member].tableCount);
}

}  // namespace

size_t FirstTableInIndex(size_t member) {
  static const std::array<size_t, kSingleByteRecognizerCount> first = [] {
    std::array<size_t, kSingleByteRecognizerCount> f{};
    for (size_t member = 0; member < kSingleByteRecognizerCount; ++member) {
      for (size_t i = 0; i < member; ++i) {
        if (kSingleByteRecognizers[i].map == kSingleByteRecognizers[member].map) {
          f[member] += kSingleByteRecognizers[i].tableCount;
        }
      }
    }
    return f;
  }();
  return first[member];
}

void SingleByteScorer::CountAll(size_t map) {
  const TrigramIndex& index = TrigramIndexFor(static_cast<CharMapId>(map));
  uint32_t previousSpace = 0;
  uint8_t* kept = kept_[0].bytes;
  kept_[0].group = kNoGroup;
  kept[0] = kept[1] = 0;
  for (size_t start = 0; start < sample_.length; start += kChunk) {
    const uint8_t* from = sample_.bytes + start;
    const uint8_t* to = sample_.bytes + std::min(sample_.length, start + kChunk);
    size_t end = 2 + KeptBytes(sample_, from, to, index.codes(), previousSpace, kept + 2);
    CountWindows<true>(kept, 2, end, index, counts_[map]);
    kept[0] = kept[end - 2];
    kept[1] = kept[end - 1];
  }
  done_[map] = true;
}

SingleByteScorer::Kept& SingleByteScorer::KeptFor(const TrigramIndex& index) {
  // The kept bytes serve every map of the same space group.
  size_t slot = kept_[0].group == index.spaceGroup() ? 0 : 1;
  if (kept_[slot].group != index.spaceGroup()) {
    slot = 1 - lastKept_;
    uint32_t previousSpace = 0;
    kept_[slot].end = 2 + KeptBytes(sample_, sample_.bytes, sample_.bytes + sample_.length,
                                    index.codes(), previousSpace, kept_[slot].bytes + 2);
    kept_[slot].group = index.spaceGroup();
    // A group counted before gets its live windows back: its passes count
    // on them for the trigrams.
    kept_[slot].surveyed = surveyedGroups_ >> index.spaceGroup() & 1;
    if (kept_[slot].surveyed) kept_[slot].live.Count(kept_[slot].bytes, kept_[slot].end);
  }
  lastKept_ = slot;
  return kept_[slot];
}

SingleByteScorer::HitBounds SingleByteScorer::Bounds(size_t member, const Kept& kept) const {
  const SingleByteRecognizer& r = kSingleByteRecognizers[member];
  const SingleByteMapCounts& counts = counts_[static_cast<size_t>(r.map)];
  uint32_t best = BestHits(counts, member);
  size_t next = std::max<size_t>(resume_[static_cast<size_t>(r.map)], 2);
  if (kept.surveyed) {
    // The trigrams are known, and the hits still to come can only be in
    // live windows.
    uint32_t trigrams = kept.live.Counted(0, r.map);
    if (next >= kept.end) return {best, best, trigrams};
    size_t block = (next - 2) / LiveWindows::kBlock;
    const uint32_t* hits = counts.hits + FirstTableInIndex(member);
    uint32_t reach = 0;
    for (size_t t = 0; t < r.tableCount; ++t) {
      auto table = static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t);
      reach = std::max(reach, hits[t] + kept.live.Live(block, table));
    }
    return {best, reach, trigrams};
  }
  if (next >= kept.end) return {best, best, counts.trigrams};
  // Each window still to come may count and be known: the share can be no
  // higher, nor lower, than if every one of them counted.
  uint32_t rest = static_cast<uint32_t>(kept.end - next);
  return {best, best + rest, counts.trigrams + rest};
}

ConfidenceRange SingleByteScorer::Narrow(size_t member, int32_t need) {
  if (sample_.zeros * 100ull >= sample_.nonZeros) return {0, 0};  // no member can score
  const SingleByteRecognizer& r = kSingleByteRecognizers[member];
  size_t m = static_cast<size_t>(r.map);
  if (sample_.length > kChunk) {
    if (!done_[m]) CountAll(m);
    int32_t confidence =
        SingleByteConfidence(sample_, BestHits(counts_[m], member), counts_[m].trigrams);
    return {confidence, confidence};
  }
  const TrigramIndex& index = TrigramIndexFor(r.map);
  Kept& kept = KeptFor(index);
  // Counting the live windows costs about one pass; it pays once a second
  // map has to be counted, as passes can then stop far earlier, and from
  // the first in text mostly of high bytes, which no Latin table knows well.
  bool manyHigh = sample_.highCount * 4 > sample_.length;
  if (!kept.surveyed && (counted_ || manyHigh) && resume_[m] == 0) {
    kept.live.Count(kept.bytes, kept.end);
    kept.surveyed = true;
    surveyedGroups_ |= uint64_t{1} << kept.group;
  }
  counted_ = true;
  // The hits needed for `need` and for 99, worked out again only when the
  // trigrams they are shares of change, so that each block costs no division.
  uint32_t trigrams = ~0u;
  uint32_t needHits = 0;
  uint32_t sureHits = 0;
  for (;;) {
    HitBounds bounds = Bounds(member, kept);
    if (bounds.trigrams != trigrams) {
      trigrams = bounds.trigrams;
      needHits = LeastHitsFor(need, trigrams);
      sureHits = LeastHitsFor(99, trigrams);
    }
    if (bounds.least == bounds.most || bounds.least >= sureHits || bounds.most < needHits) {
      return {SingleByteConfidence(sample_, bounds.least, trigrams),
              SingleByteConfidence(sample_, bounds.most, trigrams)};
    }
    size_t from = std::max<size_t>(resume_[m], 2);
    resume_[m] = std::min(kept.end, from + LiveWindows::kBlock);
    if (kept.surveyed) {
      CountWindows<false>(kept.bytes, from, resume_[m], index, counts_[m]);
    } else {
      CountWindows<true>(kept.bytes, from, resume_[m], index, counts_[m]);
    }
  }
}

uint32_t SingleByteScorer::LeastHitsFor(int32_t confidence, uint32_t trigrams) const {
  if (confidence <= 0) return 0;
  // The confidence grows with the hits, about 300 per trigram up to a third
  // of them: start from that estimate and step to the exact first.
  uint64_t hits = confidence >= 99 ? trigrams * 33ull / 100 : trigrams * uint64_t(confidence) / 300;
  auto reaches = [&](uint64_t h) {
    return SingleByteConfidence(sample_, static_cast<uint32_t>(h), trigrams) >= confidence;
  };
  while (hits > 0 && reaches(hits - 1)) --hits;
  while (hits <= trigrams && !reaches(hits)) ++hits;
  return static_cast<uint32_t>(hits);
}

int32_t SingleByteScorer::Confidence(size_t member) {
  // Every confidence is at least 0, so this counts until it is known.
  return Narrow(member, 0).low;
}

namespace {}  // namespace

bool KnowsTrigram(const uint8_t* table, uint8_t a, uint8_t b, uint8_t c) {
  uint32_t key = static_cast<uint32_t>(a) << 16 | b << 8 | c;
  return a != 0 && TrigramTableKnows(table, key);
}

int32_t SingleByteConfidence(const SampleFacts& sample, uint32_t bestHits, uint32_t trigrams) {
  if (sample.zeros * 100ull >= sample.nonZeros) return 0;
  if (trigrams == 0) return 0;
  double share = static_cast<double>(bestHits) / trigrams;
  return share > 0.33 ? 99 : static_cast<int32_t>(share * 300);
}

const char* SingleByteName(size_t member, bool c1Bytes) {
  const SingleByteRecognizer& r = kSingleByteRecognizers[member];
  return c1Bytes && r.c1Name ? r.c1Name : r.isoName;
}

const char* SingleByteScorer::Name(size_t member) const {
  return SingleByteName(member, sample_.c1Bytes);
}

SingleByteConfidenceList SingleByteConfidences(const SampleFacts& sample) {
  SingleByteScorer scorer(sample);
  SingleByteConfidenceList confidences;
  for (size_t i = 0; i < kSingleByteRecognizerCount; ++i) confidences[i] = scorer.Confidence(i);
  return confidences;
}

void AddSingleByteCandidates(const SampleFacts& sample, CharsetCandidateList& candidates) {
  SingleByteScorer scorer(sample);
  for (size_t i = 0; i < kSingleByteRecognizerCount; ++i) {
    candidates.Add(scorer.Confidence(i), kSingleByteRecognizers[i].weight, scorer.Name(i));
  }
}

}  // namespace Nimbra::Lexora
