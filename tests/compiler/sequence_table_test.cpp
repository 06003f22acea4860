// The sequence table over random phrase sets, against a naive map from
// phrases to identifiers: one identifier per phrase, the first it was
// given; every phrase and no other sequence leads to an acceptance.
#include "engine/compiler/sequence_table.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <set>

using namespace Nimbra::Lexora;
using Phrase = std::vector<uint32_t>;

namespace {

// The state a phrase leads to, read as the sequence finder reads the
// table; none when the phrase leaves it.
std::optional<uint16_t> Walk(const SequenceTable& table, const Phrase& phrase) {
  uint16_t state = 0;
  for (uint32_t id : phrase) {
    int32_t column = table.ColumnOfKey(id + SequenceTable::kKeyOffset);
    if (column < 0) return std::nullopt;
    state = table.Cell(state, column);
    if (state == SequenceTable::kNoState) return std::nullopt;
  }
  return state;
}

Phrase RandomPhrase(std::mt19937& random) {
  static const uint32_t kIds[] = {0, 1, 2, 3, 7, 300, 32762};
  Phrase phrase(1 + random() % 4);
  for (uint32_t& id : phrase) id = kIds[random() % std::size(kIds)];
  return phrase;
}

std::u16string TextOf(const Phrase& phrase) {
  std::u16string text;
  for (uint32_t id : phrase)
    text += (text.empty() ? u"" : u" ") + std::u16string(1, u'a' + id % 26);
  return text;
}

TEST(SequenceTableTest, RandomPhraseSetsAgainstANaiveMap) {
  std::mt19937 random(8);
  for (int trial = 0; trial < 200; ++trial) {
    SequenceTable table;
    std::map<Phrase, uint32_t> naive;
    std::set<Phrase> prefixes;
    std::vector<std::u16string> texts;
    uint32_t nextId = 50;
    for (int n = 1 + random() % 10; n > 0; --n) {
      Phrase phrase = RandomPhrase(random);
      uint16_t state = 0;
      for (uint32_t id : phrase) state = table.Step(state, id);
      for (size_t k = 1; k <= phrase.size(); ++k)
        prefixes.insert(Phrase(phrase.begin(), phrase.begin() + k));
      SequenceTable::Registration r =
          table.Register(state, static_cast<uint32_t>(phrase.size()), TextOf(phrase), nextId);
      auto [it, added] = naive.emplace(phrase, nextId);
      EXPECT_EQ(r.added, added);
      EXPECT_EQ(r.id, it->second);
      if (added) {
        texts.push_back(TextOf(phrase));
        ++nextId;
      }
    }
    EXPECT_EQ(table.phrases(), texts);
    // Phrases with a common beginning share its states.
    EXPECT_EQ(table.stateCount(), 1 + prefixes.size());
    for (int p = 0; p < 40; ++p) {
      Phrase probe = RandomPhrase(random);
      std::optional<uint16_t> state = Walk(table, probe);
      EXPECT_EQ(state.has_value(), prefixes.contains(probe));
      const SequenceTable::Accept* accept = state ? table.AcceptOf(*state) : nullptr;
      auto it = naive.find(probe);
      ASSERT_EQ(accept != nullptr, it != naive.end());
      if (accept) {
        EXPECT_EQ(accept->id, it->second);
        EXPECT_EQ(accept->elementCount, probe.size());
      }
    }
  }
}

// Keys 0-3 (any word, a number word) have their columns from the start,
// and registering phrases never leads anywhere on them.
TEST(SequenceTableTest, ReservedKeysKeepTheirColumnsAndNoTransitions) {
  std::mt19937 random(3);
  SequenceTable table;
  for (int n = 0; n < 50; ++n) {
    uint16_t state = 0;
    for (uint32_t id : RandomPhrase(random)) state = table.Step(state, id);
  }
  for (uint32_t key = 0; key < SequenceTable::kKeyOffset; ++key) {
    ASSERT_EQ(table.ColumnOfKey(key), static_cast<int32_t>(key));
    for (uint16_t state = 0; state < table.stateCount(); ++state) {
      EXPECT_EQ(table.Cell(state, static_cast<int32_t>(key)), SequenceTable::kNoState);
    }
  }
  EXPECT_EQ(table.ColumnOfKey(SequenceTable::kMaxKey + 1), -1);
}

}  // namespace
