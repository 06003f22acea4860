// The single-byte recognizers count through a merged index and a branch-free
// pass; these tests hold them to the plain reading of the tables: shift each
// mapped character into a three-character window and look the trigram up in
// every language table.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/seven_bit_rivals.h"
#include "engine/input/charset/single_byte_recognizers.h"
#include "engine/input/charset/trigram_index.h"

using namespace Nimbra::Lexora;

namespace {

struct PlainCounts {
  uint32_t zeros = 0;
  uint32_t others = 0;
  uint32_t trigrams = 0;
  std::vector<uint32_t> hits;  // per table
  uint32_t anyHits = 0;        // windows some table knows
};

// Shifts each mapped character into a three-character window and looks the
// trigram up in every table.
PlainCounts CountPlainly(const uint8_t* map, uint8_t space,
                         const std::vector<const uint8_t*>& tables, const std::string& s) {
  PlainCounts n;
  n.hits.assign(tables.size(), 0);
  uint8_t window[3] = {0, 0, 0};
  int held = 0;
  for (unsigned char byte : s) {
    if (byte == 0) {
      ++n.zeros;
      continue;
    }
    ++n.others;
    uint8_t c = map[byte];
    if (c == space && held > 0 && window[2] == space) continue;
    window[0] = window[1];
    window[1] = window[2];
    window[2] = c;
    held = std::min(held + 1, 3);
    if (held < 3 || window[0] == 0) continue;
    ++n.trigrams;
    bool any = false;
    for (size_t t = 0; t < tables.size(); ++t) {
      bool known = KnowsTrigram(tables[t], window[0], window[1], window[2]);
      n.hits[t] += known;
      any |= known;
    }
    n.anyHits += any;
  }
  return n;
}

std::vector<const uint8_t*> TablesOf(const SingleByteRecognizer& r) {
  std::vector<const uint8_t*> tables;
  for (size_t t = 0; t < r.tableCount; ++t) {
    tables.push_back(
        TrigramTable(static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t)));
  }
  return tables;
}

int32_t PlainConfidence(const SingleByteRecognizer& r, const std::string& s) {
  PlainCounts n = CountPlainly(CharMap(r.map), r.space, TablesOf(r), s);
  SampleFacts facts;
  facts.zeros = n.zeros;
  facts.nonZeros = n.others;
  return SingleByteConfidence(facts, *std::max_element(n.hits.begin(), n.hits.end()), n.trigrams);
}

std::string PseudoText(uint32_t seed, size_t length, const std::string& alphabet) {
  std::string s;
  for (size_t i = 0; i < length; ++i) {
    seed = seed * 1103515245 + 12345;
    s.push_back(alphabet[(seed >> 16) % alphabet.size()]);
  }
  return s;
}

TEST(CharsetSingleByteTest, IndexAgreesWithEveryTable) {
  uint32_t seed = 1;
  for (size_t i = 0; i < 13; ++i) {
    const SingleByteRecognizer& r = kSingleByteRecognizers[i];
    const TrigramIndex& index = TrigramIndexFor(r.map);
    const uint8_t* map = CharMap(r.map);
    size_t first = 0;
    for (size_t k = 0; k < i; ++k) {
      if (kSingleByteRecognizers[k].map == r.map) first += kSingleByteRecognizers[k].tableCount;
    }
    for (int n = 0; n < 20000; ++n) {
      uint8_t x[3];
      for (uint8_t& b : x) {
        seed = seed * 1103515245 + 12345;
        b = static_cast<uint8_t>(seed >> 16);
      }
      if (map[x[0]] == 0) continue;
      uint16_t known = index.Known(index.Code(x[0]), index.Code(x[1]), index.Code(x[2]));
      for (size_t t = 0; t < r.tableCount; ++t) {
        auto id = static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t);
        ASSERT_EQ(KnowsTrigram(TrigramTable(id), map[x[0]], map[x[1]], map[x[2]]),
                  ((known >> (first + t)) & 1) != 0)
            << "member " << i << " table " << t;
      }
    }
  }
}

TEST(CharsetSingleByteTest, PassAgreesWithThePlainReading) {
  const std::string latin = "abcdefghijklmnopqrstuvwxyz   ,.\xE9\xE8\xE0\xF6\xFC\xB1\xB3\xBF\x9A";
  const std::string high = "\xC0\xC1\xC2\xC5\xCE\xD0\xD4\xE1\xE5\xEE\xF2 \xA0\x80\x9C";
  std::vector<std::string> samples = {
      "the quick brown fox jumps over the lazy dog   again and again",
      PseudoText(7, 3000, latin),
      PseudoText(8, 9000, latin),  // longer than one pass chunk
      PseudoText(9, 4096, high),
      std::string("a\0b  \0 c d\0\0e", 13) + PseudoText(10, 2000, latin),
      "   ",
      "ab",
  };
  int32_t total = 0;
  for (size_t n = 0; n < samples.size(); ++n) {
    const std::string& s = samples[n];
    SingleByteConfidenceList fast =
        SingleByteConfidences(SurveySample(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
    for (size_t i = 0; i < 13; ++i) {
      total += fast[i];
      EXPECT_EQ(fast[i], PlainConfidence(kSingleByteRecognizers[i], s))
          << "sample " << n << " member " << kSingleByteRecognizers[i].isoName;
    }
  }
  EXPECT_GT(total, 13 * 10);  // the samples exercise the tables, not only the zero rule
}

// On 7-bit text without zero bytes, one pass per group of members counts
// exactly the trigrams of each member and the windows that any of the
// group's tables knows.
TEST(CharsetSingleByteTest, SevenBitGroupsCountLikeThePlainReading) {
  const SevenBitRivals rivals("ISO-8859-1");
  const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIQRSTUVWXY";
  std::vector<std::string> samples = {
      "the quick brown fox jumps over the lazy dog   again and again",
      "  two spaces first",
      " one space first",
      "ab",
      "abc",
      "a  b",
      "   ",
      "x\x1A y\x1A\x1Az",
      PseudoText(11, 4096,
                 letters + "    .,;-@?\x1A\x7F"
                           "0123"),
      PseudoText(12, 9000, letters + " "),  // past one sum of windows
      PseudoText(13, 300, "@@ABCpqrsuvw  \t\n"),
  };
  for (int n = 0; n < 40; ++n)
    samples.push_back(PseudoText(100 + n, 1 + n * 37, letters + "  !?@\x01\x1A"));
  size_t covered = 0;
  for (size_t n = 0; n < samples.size(); ++n) {
    const std::string& s = samples[n];
    for (const auto& group : rivals.Count(reinterpret_cast<const uint8_t*>(s.data()), s.size())) {
      std::vector<const uint8_t*> tables;
      for (size_t member : group.members) {
        const SingleByteRecognizer& r = kSingleByteRecognizers[member];
        EXPECT_STRNE(r.isoName, "ISO-8859-1");
        for (const uint8_t* t : TablesOf(r)) tables.push_back(t);
        EXPECT_EQ(group.windows.trigrams, CountPlainly(CharMap(r.map), r.space, {}, s).trigrams)
            << "sample " << n << " member " << r.isoName;
      }
      const SingleByteRecognizer& r = kSingleByteRecognizers[group.members[0]];
      EXPECT_EQ(group.windows.hits, CountPlainly(CharMap(r.map), r.space, tables, s).anyHits)
          << "sample " << n << " member " << r.isoName;
      covered += group.members.size();
    }
  }
  // Every member under another name than ISO-8859-1's, in every sample.
  EXPECT_EQ(covered, samples.size() * (kSingleByteRecognizerCount - 1));
}

}  // namespace
