// The script lexer: turns rule-script text into tokens, keeps the line and
// column of everything it reads, rebuilds the display text of the statement
// being read, and lets the parser look ahead by saving and restoring its
// position.
#ifndef LEXORA_ENGINE_LANGUAGE_SCRIPT_LEXER_H
#define LEXORA_ENGINE_LANGUAGE_SCRIPT_LEXER_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/input/normalizing_reader.h"
#include "engine/language/token.h"

namespace Nimbra::Lexora {

class ScriptLexer {
 public:
  explicit ScriptLexer(ILXStream* stream);

  Token Next();

  // A saved lexer state. The lexer returns to it when the saver is
  // discarded, unless Restore was called already.
  class Saver {
   public:
    explicit Saver(ScriptLexer& lexer);
    ~Saver();
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;
    void Restore();

   private:
    struct TextMark {
      size_t start;
      size_t length;
      char16_t last;
    };
    ScriptLexer& lexer_;
    NormalizingReader::Position position_;
    int32_t line_, column_, tokenStartColumn_, previousLineLength_;
    TokenKind previousKind_;
    bool inQuotes_;
    uint32_t phraseWords_;
    TextMark text_;
    bool restored_ = false;
  };

  // The next token, or the one after it, without consuming anything.
  Token Peek();
  Token PeekSecond();

  int32_t line() const { return line_; }
  int32_t tokenStartColumn() const { return tokenStartColumn_; }
  int32_t previousLineLength() const { return previousLineLength_; }
  std::u16string statementText() const { return text_.substr(textStart_); }
  bool enciphered() const { return reader_.mode() == NormalizingReader::Mode::Enciphered; }

  // Error recovery: skips what is left of the current line, line feed
  // included; false when the input ended instead.
  bool SkipRestOfLine();
  void ResetStatementState();

 private:
  static constexpr int32_t kEnd = -1;

  struct Char {
    char16_t c;
    bool escaped;
  };

  int32_t PeekUnit();
  int32_t Consume();
  std::optional<Char> ReadChar(std::u16string_view stops);
  void SkipCommentLines();
  void SkipSpaces();
  void SkipBlanks();
  // The kind of the token read into text, or nothing when what was read
  // delivers no token and reading goes on.
  std::optional<TokenKind> Dispatch(std::u16string& text);
  TokenKind ReadWord(std::u16string& text, bool startedWithClass);
  std::optional<TokenKind> ReadQuotedWord(std::u16string& text);
  struct Bracketed {
    bool reference;
    std::u16string name;
    int32_t column;
  };
  Bracketed ReadBracketed();
  void AppendInlineClass(std::u16string& text, const Bracketed& b, int32_t column);
  TokenKind ReadStandalone(std::u16string& text);
  TokenKind ReadOptionName(std::u16string& text);
  TokenKind ReadOptionValue(std::u16string& text);
  void ExtendStatementText(TokenKind kind, const std::u16string& text);
  void ClearStatementText();

  NormalizingReader reader_;
  int32_t line_ = 1;
  int32_t column_ = 0;
  int32_t tokenStartColumn_ = 0;
  int32_t previousLineLength_ = 0;
  TokenKind previousKind_ = kTokenEndOfLine;
  bool inQuotes_ = false;
  uint32_t phraseWords_ = 0;  // words delivered by the open quoted phrase
  // The statement text is text_ from textStart_; clearing moves the start so
  // that a saved position can restore it cheaply.
  std::u16string text_;
  size_t textStart_ = 0;
  int savedPositions_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_LANGUAGE_SCRIPT_LEXER_H
