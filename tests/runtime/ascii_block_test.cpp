// The bulk classification of ASCII blocks must agree with the unit roles and
// the word data unit by unit, and the filter must never turn a script's
// word away: either fault would pass a word the walk would have matched.
#include "engine/runtime/ascii_block.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/base/unit_roles.h"
#include "runtime/scan_support.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

void ExpectSameBlock(const std::u16string& units, std::string_view read) {
  ASSERT_EQ(units.size(), kAsciiBlockUnits);
  const AsciiBlock fast = ClassifyAsciiBlock(units.data(), read);
  const AsciiBlock reference = ClassifyAsciiBlockByUnit(units.data(), read);
  EXPECT_EQ(fast.words, reference.words) << "first unit " << static_cast<int>(units[0]);
  EXPECT_EQ(fast.separators, reference.separators) << "first unit " << static_cast<int>(units[0]);
}

TEST(AsciiBlockTest, EveryUnitIsClassifiedAsTheReferenceDoes) {
  lexora_test::Initialized library;
  for (uint32_t u = 0; u < 0x10000; u += 16) {
    std::u16string units;
    for (uint32_t i = 0; i < kAsciiBlockUnits; ++i)
      units += static_cast<char16_t>((u + i) & 0xFFFF);
    ExpectSameBlock(units, "");
    ExpectSameBlock(units, "&.@");
  }
}

TEST(AsciiBlockTest, TheReferenceFollowsTheWordData) {
  lexora_test::Initialized library;
  auto script = lexora_test::CompileOrFail(u"at&t OR www.example OR x OR don't\n");
  ASSERT_TRUE(script);
  const WordData& words = script->words;
  std::u16string units(kAsciiBlockUnits, u' ');
  for (char16_t u = 0; u < 0x80; ++u) {
    units[5] = u;
    const AsciiBlock block = ClassifyAsciiBlockByUnit(units.data(), words.asciiSeparatorsRead);
    EXPECT_EQ(block.words >> 5 & 1, (RoleOf(u) & kRoleWord) != 0) << static_cast<int>(u);
    EXPECT_EQ(block.separators >> 5 & 1, u != 0 && words.GapOf(u) == Gap::kSeparator)
        << static_cast<int>(u);
  }
}

TEST(AsciiBlockTest, KeysAreTheFoldedUnitsOfTheWord) {
  lexora_test::Initialized library;
  std::mt19937 random(7);
  const std::u16string pool = u"abcxyzABCXYZ0189^`";
  for (int round = 0; round < 2000; ++round) {
    std::u16string units;
    for (int i = 0; i < 16; ++i) units += pool[random() % pool.size()];
    const size_t length = random() % AsciiWordFilter::kMaxUnits + 1;
    const AsciiWordFilter::Key fast = AsciiKey(units.data(), length);
    const AsciiWordFilter::Key reference = AsciiKeyByUnit(units.data(), length);
    EXPECT_EQ(fast.low, reference.low) << round;
    EXPECT_EQ(fast.high, reference.high) << round;
  }
}

// Every literal word the walk could accept in a plain ASCII run, in any
// case, passes the filter.
TEST(AsciiBlockTest, TheFilterHoldsEveryWordOfTheTable) {
  lexora_test::Initialized library;
  WordTable table(false);
  std::mt19937 random(3);
  std::vector<std::u16string> words;
  for (uint32_t id = 0; id < 3000; ++id) {
    std::u16string word;
    const size_t length = random() % AsciiWordFilter::kMaxUnits + 1;
    for (size_t i = 0; i < length; ++i) word += static_cast<char16_t>(u'a' + random() % 26);
    table.AddWord(word, id);
    words.push_back(word);
  }
  table.AddWord(u"\u017Fun", 3000);  // the long s folds to an ASCII s
  table.Build(std::nullopt);
  for (std::u16string word : words) {
    for (char16_t& c : word) {
      if (random() % 2) c = static_cast<char16_t>(c - u'a' + u'A');
    }
    word.resize(16, u' ');
    EXPECT_TRUE(table.asciiWords().MayHold(AsciiKey(word.data(), word.find(u' '))));
  }
  const std::u16string sun = u"SUN             ";
  EXPECT_TRUE(table.asciiWords().MayHold(AsciiKey(sun.data(), 3)));
}

}  // namespace
