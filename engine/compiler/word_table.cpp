#include "engine/compiler/word_table.h"

#include "engine/base/char_props.h"

namespace Nimbra::Lexora {
namespace {

constexpr std::u16string_view kKeptEscapes = u"\\*?[]";

// An unescaped *, ? or [ makes a wildcard pattern; % is an ordinary character.
bool IsWildcardPattern(std::u16string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'\\') {
      ++i;
    } else if (pattern[i] == u'*' || pattern[i] == u'?' || pattern[i] == u'[') {
      return true;
    }
  }
  return false;
}

}  // namespace

// Stores the pattern with its escapes normalised and case folded (outside
// inline class names), and collects its literal characters into the alphabet.
void WordTable::AddWord(std::u16string_view pattern, uint32_t wordId) {
  std::u16string stored;
  stored.reserve(pattern.size());
  bool escaped = false;
  bool insideBrackets = false;
  for (char16_t c : pattern) {
    if (!escaped && c == u'\\') {
      escaped = true;
      continue;
    }
    if (!escaped && (c == u'[' || c == u']')) {
      insideBrackets = c == u'[';
      stored += c;
      continue;
    }
    if (insideBrackets) {
      stored += c;
      escaped = false;
      continue;
    }
    char16_t folded = Fold(c);
    if (escaped && kKeptEscapes.find(c) != std::u16string_view::npos) stored += u'\\';
    stored += folded;
    if (!inAlphabet_[folded]) {
      inAlphabet_[folded] = true;
      alphabet_ += folded;
    }
    escaped = false;
  }
  pending_.push_back({std::move(stored), wordId});
}

void WordTable::Build(std::optional<uint32_t> numWordId) {
  BuildUnitRoles();
  literal_.Initialize(alphabet_, exactCase_);
  wildcard_.Initialize(alphabet_, exactCase_);
  std::vector<std::pair<uint16_t, uint32_t>> literalAccepts, wildcardAccepts;
  std::vector<AsciiWordFilter::Key> asciiKeys;
  for (const Pending& entry : pending_) {
    if (IsWildcardPattern(entry.pattern)) {
      uint16_t final = wildcard_.Insert(entry.pattern);
      if (final != WildcardAutomaton::kNone) wildcardAccepts.push_back({final, entry.wordId});
    } else {
      uint16_t accepting = literal_.Insert(entry.pattern);
      if (accepting != LiteralAutomaton::kNone) {
        AsciiWordFilter::Key key;
        if (AsciiWordFilter::KeyOf(entry.pattern, key)) asciiKeys.push_back(key);
        // Words that fold alike share a state; the later id replaces the earlier.
        literalAccepts.push_back(
            {static_cast<uint16_t>(accepting & LiteralAutomaton::kStateMask), entry.wordId});
      }
    }
  }
  if (numWordId) wildcardAccepts.push_back({wildcard_.InsertNumberPattern(), *numWordId});
  wildcard_.Finalize();
  asciiWords_.Build(asciiKeys);
  literalWords_.assign(literal_.stateCount(), kNoWord);
  for (auto [state, id] : literalAccepts) literalWords_[state] = id;
  wildcardWords_.assign(wildcard_.stateCount(), kNoWord);
  for (auto [state, id] : wildcardAccepts) wildcardWords_[state] = id;
  pending_.clear();
  pending_.shrink_to_fit();
  for (char16_t u = 0; u < kLatinUnits; ++u) {
    latinColumns_[u] = literal_.ColumnOf(Fold(u));
    latinRunSteps_[u] = !(RoleOf(u) & kRoleWord) ? kEndsRun
                        : latinColumns_[u] < 0   ? kDies
                                                 : latinColumns_[u];
  }
}

}  // namespace Nimbra::Lexora
