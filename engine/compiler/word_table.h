// A word table: the words and word patterns matched in one case mode, and
// their two automata with the maps from accepting states back to word ids.
#ifndef LEXORA_ENGINE_COMPILER_WORD_TABLE_H
#define LEXORA_ENGINE_COMPILER_WORD_TABLE_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/char_props.h"
#include "engine/base/unit_roles.h"
#include "engine/compiler/ascii_word_filter.h"
#include "engine/compiler/literal_automaton.h"
#include "engine/compiler/wildcard_automaton.h"

namespace Nimbra::Lexora {

class WordTable {
 public:
  static constexpr uint32_t kNoWord = 0xFFFFFFFF;

  // exactCase false: the table folds case (the first table of a script).
  explicit WordTable(bool exactCase) : exactCase_(exactCase) {}

  // Adds a word or word pattern as the lexer delivered it (escapes kept).
  void AddWord(std::u16string_view pattern, uint32_t wordId);
  // Builds both automata; the case-folding table also gets the number
  // pattern when the script uses NUM. Read-only afterwards.
  void Build(std::optional<uint32_t> numWordId);

  bool exactCase() const { return exactCase_; }
  char16_t Fold(char16_t c) const { return exactCase_ ? c : FoldUnit(c); }
  const LiteralAutomaton& literal() const { return literal_; }
  const WildcardAutomaton& wildcard() const { return wildcard_; }
  // The literal words a scan may pass over without walking the trie.
  const AsciiWordFilter& asciiWords() const { return asciiWords_; }
  void DropAsciiWords() { asciiWords_ = AsciiWordFilter(); }
  bool literalInUse() const { return literal_.wordCount() != 0; }
  bool wildcardInUse() const { return wildcard_.inUse(); }
  // The word id of an accepting state, or kNoWord.
  uint32_t LiteralWord(uint16_t state) const { return literalWords_[state]; }
  uint32_t WildcardWord(uint16_t state) const { return wildcardWords_[state]; }
  const std::u16string& alphabet() const { return alphabet_; }
  // The literal automaton's column of a unit of text (before folding); a
  // unit below U+0100 finds it in one read.
  int16_t LiteralColumnOf(char16_t unit) const {
    return unit < kLatinUnits ? latinColumns_[unit] : literal_.ColumnOf(Fold(unit));
  }
  // What a unit of text does to the literal automaton inside a run of plain
  // word characters: its column; kEndsRun when it is no plain word
  // character; kDies when it is one outside the alphabet. A unit below
  // U+0100 finds it in one read.
  static constexpr int16_t kDies = -1;
  static constexpr int16_t kEndsRun = -2;
  int16_t RunStepOf(char16_t unit) const {
    if (unit < kLatinUnits) return latinRunSteps_[unit];
    if (!(RoleOf(unit) & kRoleWord)) return kEndsRun;
    int16_t column = literal_.ColumnOf(Fold(unit));
    return column < 0 ? kDies : column;
  }
  // Whether a unit of text (before folding) has a column in the automata,
  // which share one alphabet.
  bool HasColumn(char16_t unit) const { return LiteralColumnOf(unit) >= 0; }

 private:
  struct Pending {
    std::u16string pattern;
    uint32_t wordId;
  };

  static constexpr char16_t kLatinUnits = 0x100;

  bool exactCase_;
  std::u16string alphabet_;
  std::vector<bool> inAlphabet_ = std::vector<bool>(65536, false);
  std::array<int16_t, kLatinUnits> latinColumns_{};
  std::array<int16_t, kLatinUnits> latinRunSteps_{};
  std::vector<Pending> pending_;
  LiteralAutomaton literal_;
  AsciiWordFilter asciiWords_;
  WildcardAutomaton wildcard_;
  std::vector<uint32_t> literalWords_;
  std::vector<uint32_t> wildcardWords_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_WORD_TABLE_H
