// Tokens of the rule language.
#ifndef LEXORA_ENGINE_LANGUAGE_TOKEN_H
#define LEXORA_ENGINE_LANGUAGE_TOKEN_H

#include <cstdint>
#include <string>

namespace Nimbra::Lexora {

enum TokenKind : int32_t {
  kTokenError = 0,  // never delivered
  kTokenEndOfFile = 1,
  kTokenEndOfLine = 2,
  kTokenOptionName = 3,
  kTokenOptionValue = 4,
  kTokenPattern = 5,  // word pattern outside quotes
  kTokenQuotedPattern = 6,
  kTokenClass = 7,      // standalone class; text is the canonical name
  kTokenReference = 8,  // [@name]; text is the name
  kTokenWord = 9,
  kTokenNumber = 10,  // word of digits only
  kTokenQuotedWord = 11,
  kTokenOpen = 12,
  kTokenClose = 13,
  kTokenEquals = 14,
  kTokenAnd = 15,
  kTokenOr = 16,
  kTokenNot = 17,
  kTokenNear = 18,
  kTokenFollowedBy = 19,
  kTokenPrecededBy = 20,
  kTokenInstances = 21,
};

struct Token {
  TokenKind kind = kTokenError;
  std::u16string text;
  int32_t line = 0;  // the line on which the token starts
};

// The name printed for a kind in "Unexpected token: %ls".
const char16_t* ShortNameOf(TokenKind kind);

// Tokens that stand for one word of a sequence.
inline bool IsWordItem(TokenKind kind) {
  return kind == kTokenPattern || kind == kTokenQuotedPattern || kind == kTokenClass ||
         kind == kTokenWord || kind == kTokenNumber || kind == kTokenQuotedWord;
}

inline bool IsPositionalOperator(TokenKind kind) {
  return kind == kTokenNear || kind == kTokenFollowedBy || kind == kTokenPrecededBy;
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_LANGUAGE_TOKEN_H
