#include "word_matching.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/base/char_props.h"

using namespace Nimbra::Lexora;

namespace lexora_test {
namespace {

std::vector<uint32_t> LiteralIds(const WordTable& table, std::u16string_view word) {
  if (!table.literalInUse()) return {};
  const LiteralAutomaton& automaton = table.literal();
  uint16_t state = 0;
  for (char16_t unit : word) {
    int16_t column = table.LiteralColumnOf(unit);
    if (column < 0) return {};
    uint16_t cell = automaton.Cell(state, column);
    if (cell == LiteralAutomaton::kNone) return {};
    state = cell & LiteralAutomaton::kStateMask;
  }
  uint16_t end = automaton.Cell(state, 0);
  if (end == LiteralAutomaton::kNone || !(end & LiteralAutomaton::kAccept)) return {};
  return {table.LiteralWord(end & LiteralAutomaton::kStateMask)};
}

// One step of the state set; `unit` 0 is the separator that ends the word.
std::vector<uint16_t> StepWildcard(const WordTable& table, const std::vector<uint16_t>& states,
                                   char16_t unit) {
  const WildcardAutomaton& automaton = table.wildcard();
  std::vector<uint16_t> next;
  auto add = [&](uint16_t target) {
    if (target != WildcardAutomaton::kNone &&
        std::find(next.begin(), next.end(), target) == next.end()) {
      next.push_back(target);
    }
  };
  int16_t column = unit == 0 ? -1 : automaton.ColumnOf(table.Fold(unit));
  for (uint16_t state : states) {
    for (uint16_t u : automaton.Expansion(state)) {
      if (column >= 0) add(automaton.Cell(u, column));
      if (unit == 0) {
        add(automaton.Cell(u, WildcardAutomaton::kEndOfWord));
        continue;
      }
      add(automaton.Cell(u, WildcardAutomaton::kStarCharacter));
      add(automaton.Cell(u, WildcardAutomaton::kAnyCharacter));
      if (IsDigitUnit(unit)) add(automaton.Cell(u, WildcardAutomaton::kDigit));
      if (IsAlphaUnit(unit)) add(automaton.Cell(u, WildcardAutomaton::kLetter));
    }
  }
  return next;
}

std::vector<uint32_t> WildcardIds(const WordTable& table, std::u16string_view word) {
  if (!table.wildcardInUse()) return {};
  std::vector<uint16_t> states{0};
  for (char16_t unit : word) states = StepWildcard(table, states, unit);
  std::vector<uint32_t> ids;
  for (uint16_t state : StepWildcard(table, states, 0)) {
    if (table.wildcard().IsFinal(state)) ids.push_back(table.WildcardWord(state));
  }
  return ids;
}

}  // namespace

std::vector<uint32_t> AcceptedIds(const WordTable& table, std::u16string_view word) {
  for (char16_t unit : word) {
    EXPECT_EQ(PropsOf(unit).other, 0) << "not a word character: " << int(unit);
  }
  std::vector<uint32_t> ids = LiteralIds(table, word);
  std::vector<uint32_t> wildcard = WildcardIds(table, word);
  ids.insert(ids.end(), wildcard.begin(), wildcard.end());
  return ids;
}

std::u16string RandomString(std::mt19937& random, std::u16string_view units, size_t minLength,
                            size_t maxLength) {
  std::uniform_int_distribution<size_t> length(minLength, maxLength);
  std::uniform_int_distribution<size_t> pick(0, units.size() - 1);
  std::u16string s(length(random), u' ');
  for (char16_t& unit : s) unit = units[pick(random)];
  return s;
}

}  // namespace lexora_test
