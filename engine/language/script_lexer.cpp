#include "engine/language/script_lexer.h"

#include "engine/base/char_classes.h"
#include "engine/base/char_props.h"
#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

constexpr std::u16string_view kEscapable = u"[]()\"*%?\\,=";
constexpr std::u16string_view kKeptEscapes = u"\\*?[]";

struct Keyword {
  std::u16string_view text;
  TokenKind kind;
};
constexpr Keyword kKeywords[] = {{u"AND", kTokenAnd},
                                 {u"OR", kTokenOr},
                                 {u"NOT", kTokenNot},
                                 {u"NEAR", kTokenNear},
                                 {u"FOLLOWEDBY", kTokenFollowedBy},
                                 {u"PRECEDEDBY", kTokenPrecededBy},
                                 {u"INSTANCES", kTokenInstances}};

bool Contains(std::u16string_view set, char16_t c) {
  return set.find(c) != std::u16string_view::npos;
}

bool IsQuotedKind(TokenKind kind) {
  return kind == kTokenQuotedPattern || kind == kTokenQuotedWord;
}

}  // namespace

ScriptLexer::ScriptLexer(ILXStream* stream) : reader_(stream, NormalizingReader::Mode::Detect) {
  text_.reserve(64);
  reader_.Ensure(64);  // settles the transfer mode before the first token
}

// A carriage return directly followed by a line feed reads as one line feed.
int32_t ScriptLexer::PeekUnit() {
  if (!reader_.Ensure(1)) return kEnd;
  char16_t c = reader_.Peek();
  if (c == u'\r' && reader_.Ensure(2) && reader_.Peek(1) == u'\n') return u'\n';
  return c;
}

int32_t ScriptLexer::Consume() {
  if (!reader_.Ensure(1)) return kEnd;
  char16_t c = reader_.Peek();
  reader_.Advance();
  if (c == u'\r' && reader_.Ensure(1) && reader_.Peek() == u'\n') {
    reader_.Advance();
    c = u'\n';
  }
  if (c == u'\n') {
    ++line_;
    previousLineLength_ = column_;
    column_ = 0;
    tokenStartColumn_ = 0;
  } else {
    ++column_;
  }
  return c;
}

// The next character, resolving an escape; the stop set does not apply to an
// escaped character. Nothing is consumed but the backslash.
std::optional<ScriptLexer::Char> ScriptLexer::ReadChar(std::u16string_view stops) {
  int32_t c = PeekUnit();
  if (c == kEnd || c == u'\r' || c == u'\n') return std::nullopt;
  if (c == u'\\') {
    Consume();
    int32_t d = PeekUnit();
    if (d == kEnd || d == u'\r' || d == u'\n' || d == u' ' || d == u'\t') {
      throw SyntaxError::At(line_, column_, u"Incomplete escape sequence");
    }
    if (!Contains(kEscapable, static_cast<char16_t>(d))) {
      throw SyntaxError::At(line_, column_, u"Invalid escape sequence: \\%c",
                            static_cast<char16_t>(d));
    }
    return Char{static_cast<char16_t>(d), true};
  }
  if (Contains(stops, static_cast<char16_t>(c))) return std::nullopt;
  return Char{static_cast<char16_t>(c), false};
}

void ScriptLexer::SkipCommentLines() {
  while (column_ == 0 && PeekUnit() == u'#') {
    int32_t c;
    do {
      c = Consume();
    } while (c != kEnd && c != u'\n');
    previousKind_ = kTokenEndOfLine;
    ClearStatementText();
    inQuotes_ = false;
    if (c == kEnd) break;
  }
}

void ScriptLexer::SkipBlanks() {
  SkipSpaces();
  tokenStartColumn_ = column_ + 1;
}

Token ScriptLexer::Next() {
  Token token;
  token.text.reserve(64);
  std::optional<TokenKind> kind;
  do {
    SkipCommentLines();
    SkipBlanks();
    token.line = line_;
    token.text.clear();
    kind = Dispatch(token.text);
  } while (!kind);
  token.kind = *kind;
  ExtendStatementText(token.kind, token.text);
  previousKind_ = token.kind;
  return token;
}

std::optional<TokenKind> ScriptLexer::Dispatch(std::u16string& text) {
  int32_t c = PeekUnit();
  if (c == kEnd) {
    if (inQuotes_) throw SyntaxError::At(line_, column_ + 1, u"Expecting double quotes");
    return kTokenEndOfFile;
  }
  if (c == u'\n') {
    Consume();
    if (inQuotes_) throw SyntaxError::At(line_, column_, u"Expecting double quotes");
    text = u"\n";
    return kTokenEndOfLine;
  }
  if (inQuotes_ || c == u'"') return ReadQuotedWord(text);
  switch (c) {
    case u'(':
      Consume();
      text = u"(";
      return kTokenOpen;
    case u')':
      Consume();
      text = u")";
      return kTokenClose;
    case u',':
      if (previousKind_ == kTokenOptionValue) {
        Consume();
        return ReadOptionName(text);
      }
      return ReadWord(text, false);
    case u'=':
      Consume();
      if (previousKind_ == kTokenOptionName) return ReadOptionValue(text);
      text = u"=";
      return kTokenEquals;
    case u'[': {
      // "[@" always reads a reference, so a statement may begin with one.
      bool reference = reader_.Ensure(2) && reader_.Peek(1) == u'@';
      if (previousKind_ == kTokenEndOfLine && !reference) {
        Consume();
        if (PeekUnit() == u']') {  // the empty block delivers nothing
          Consume();
          previousKind_ = kTokenOptionValue;
          return std::nullopt;
        }
        return ReadOptionName(text);
      }
      return ReadStandalone(text);
    }
    default:
      return ReadWord(text, false);
  }
}

// Outside quotes: a word or word pattern, possibly holding inline classes.
TokenKind ScriptLexer::ReadWord(std::u16string& text, bool startedWithClass) {
  bool pattern = startedWithClass;
  bool digitsOnly = true;
  while (std::optional<Char> ch = ReadChar(u"=()")) {
    char16_t c = ch->c;
    if (IsSpaceUnit(c)) break;
    if (!text.empty() && IsIdeographUnit(c)) break;
    if (!ch->escaped) {
      if (c == u'[') {
        Bracketed b = ReadBracketed();
        AppendInlineClass(text, b, b.column);
        pattern = true;
        continue;
      }
      if (c == u'*' || c == u'?') pattern = true;
      if (c == u'"') {
        throw SyntaxError::At(line_, column_ + 1,
                              u"Opening double quotes may only appear after whitespace");
      }
    }
    Consume();
    if (ch->escaped && Contains(kKeptEscapes, c)) text.push_back(u'\\');
    text.push_back(c);
    if (!IsDigitUnit(c)) digitsOnly = false;
    if (IsIdeographUnit(c)) break;  // each ideograph is a word of its own
  }
  if (pattern) return kTokenPattern;
  for (const Keyword& k : kKeywords) {
    if (text == k.text) return k.kind;
  }
  return digitsOnly ? kTokenNumber : kTokenWord;
}

// One word of a quoted phrase per call; the first call opens the phrase.
std::optional<TokenKind> ScriptLexer::ReadQuotedWord(std::u16string& text) {
  if (!inQuotes_) {
    if (PeekUnit() != u'"') throw SyntaxError::At(line_, column_ + 1, u"Expecting '%lc'", u'"');
    Consume();
    inQuotes_ = true;
    phraseWords_ = 0;
    SkipSpaces();  // blanks after the opening quote do not make an empty word
  }
  bool pattern = false;
  while (std::optional<Char> ch = ReadChar(u"\"")) {
    char16_t c = ch->c;
    if (IsSpaceUnit(c)) break;
    if (!ch->escaped) {
      if (c == u'[') {
        Bracketed b = ReadBracketed();
        AppendInlineClass(text, b, column_ + 1);
        pattern = true;
        continue;
      }
      if (c == u'*' || c == u'?') pattern = true;
    }
    Consume();
    if (ch->escaped && Contains(kKeptEscapes, c)) text.push_back(u'\\');
    text.push_back(c);
  }
  if (PeekUnit() == u'"') {
    inQuotes_ = false;
    Consume();
    int32_t next = PeekUnit();
    if (next != kEnd && next != u'\n' && next != u'\r' && next != u')' &&
        !IsSpaceUnit(static_cast<char16_t>(next))) {
      throw SyntaxError::At(line_, column_ + 1, u"Whitespace required after closing double quotes");
    }
    // Blanks before the closing quote do not make an empty last word either;
    // only a phrase with no word at all ("") delivers one empty word.
    if (text.empty() && phraseWords_ > 0) return std::nullopt;
  }
  ++phraseWords_;
  return pattern ? kTokenQuotedPattern : kTokenQuotedWord;
}

ScriptLexer::Bracketed ScriptLexer::ReadBracketed() {
  Consume();  // '['
  Bracketed b{false, {}, column_};
  if (PeekUnit() == u'@') {
    Consume();
    b.reference = true;
  }
  while (std::optional<Char> ch = ReadChar(u"]")) {
    Consume();
    b.name.push_back(ch->c);
  }
  if (b.name.empty()) {
    throw SyntaxError::At(line_, b.column,
                          b.reference ? u"Expecting rule name" : u"Expecting character class name");
  }
  int32_t c = Consume();
  if (c != u']') {
    throw SyntaxError::At(line_, c == kEnd ? column_ + 1 : column_, u"Expecting '%lc'", u']');
  }
  return b;
}

// Only LETTER and DIGIT may stand inside a word; they enter its text in
// their canonical spelling.
void ScriptLexer::AppendInlineClass(std::u16string& text, const Bracketed& b, int32_t column) {
  if (b.reference) {
    throw SyntaxError::At(line_, column, u"Named rules cannot be used as part of a word");
  }
  int32_t id = FindClass(b.name, true);
  if (id == kClassNone) throw SyntaxError::At(line_, column, u"Unknown class [%ls]", b.name);
  if (id != kClassLetter && id != kClassDigit) {
    throw SyntaxError::At(line_, column, u"Class [%ls] cannot be used as part of a word",
                          ClassName(id));
  }
  text += u'[';
  text += ClassName(id);
  text += u']';
}

TokenKind ScriptLexer::ReadStandalone(std::u16string& text) {
  Bracketed b = ReadBracketed();
  auto followedByWordText = [this] {
    std::optional<Char> next = ReadChar(u")");
    return next && !IsSpaceUnit(next->c);
  };
  if (b.reference) {
    if (followedByWordText()) {
      throw SyntaxError::At(line_, b.column, u"Named rules cannot be used as part of a word");
    }
    text = b.name;
    return kTokenReference;
  }
  int32_t id = FindClass(b.name, true);
  if (id == kClassNone) throw SyntaxError::At(line_, b.column, u"Unknown class [%ls]", b.name);
  if (id == kClassLetter || id == kClassDigit) {
    text = u"[" + std::u16string(ClassName(id)) + u"]";
    return ReadWord(text, true);
  }
  if (followedByWordText()) {
    throw SyntaxError::At(line_, b.column, u"Class [%ls] cannot be used as part of a word",
                          ClassName(id));
  }
  text = ClassName(id);
  return kTokenClass;
}

TokenKind ScriptLexer::ReadOptionName(std::u16string& text) {
  while (std::optional<Char> ch = ReadChar(u"=],")) {
    Consume();
    text.push_back(ch->c);
  }
  if (PeekUnit() != u'=') {
    throw SyntaxError::At(line_, column_ + 1, u"Expecting \"=\" after option \"%ls\"", text);
  }
  if (text.empty()) throw SyntaxError::At(line_, column_, u"Expecting option name");
  return kTokenOptionName;
}

TokenKind ScriptLexer::ReadOptionValue(std::u16string& text) {
  while (std::optional<Char> ch = ReadChar(u"],")) {
    Consume();
    text.push_back(ch->c);
  }
  if (text.empty()) throw SyntaxError::At(line_, column_, u"Expecting option value");
  if (PeekUnit() == u',') return kTokenOptionValue;
  int32_t c = Consume();
  if (c != u']') {
    throw SyntaxError::At(line_, c == kEnd ? column_ + 1 : column_, u"Expecting '%lc'", u']');
  }
  return kTokenOptionValue;
}

void ScriptLexer::ExtendStatementText(TokenKind kind, const std::u16string& text) {
  bool empty = text_.size() == textStart_;
  switch (kind) {
    case kTokenEndOfLine:
      ClearStatementText();
      return;
    case kTokenEndOfFile:
    case kTokenOptionName:
    case kTokenOptionValue:
      return;
    case kTokenQuotedPattern:
    case kTokenQuotedWord:
      // Words of one phrase, and adjacent phrases, show as one quoted group.
      if (IsQuotedKind(previousKind_) && !empty && text_.back() == u'"') {
        text_.back() = u' ';
      } else {
        if (!empty) text_ += u' ';
        text_ += u'"';
      }
      text_ += text;
      text_ += u'"';
      return;
    case kTokenClass:
      if (!empty) text_ += u' ';
      text_ += u'[' + text + u']';
      return;
    case kTokenReference:
      if (!empty) text_ += u' ';
      text_ += u"[@" + text + u']';
      return;
    default:
      if (!empty) text_ += u' ';
      text_ += text;
      return;
  }
}

void ScriptLexer::ClearStatementText() {
  textStart_ = text_.size();
  if (savedPositions_ == 0) {
    text_.clear();
    textStart_ = 0;
  }
}

void ScriptLexer::SkipSpaces() {
  for (int32_t c = PeekUnit(); c != kEnd && c != u'\n' && IsSpaceUnit(static_cast<char16_t>(c));
       c = PeekUnit()) {
    Consume();
  }
}

ScriptLexer::Saver::Saver(ScriptLexer& lexer) : lexer_(lexer) {
  ++lexer.savedPositions_;
  lexer.reader_.Pin();
  position_ = lexer.reader_.position();
  line_ = lexer.line_;
  column_ = lexer.column_;
  tokenStartColumn_ = lexer.tokenStartColumn_;
  previousLineLength_ = lexer.previousLineLength_;
  previousKind_ = lexer.previousKind_;
  inQuotes_ = lexer.inQuotes_;
  phraseWords_ = lexer.phraseWords_;
  text_ = {lexer.textStart_, lexer.text_.size(), lexer.text_.empty() ? u'\0' : lexer.text_.back()};
}

ScriptLexer::Saver::~Saver() {
  if (!restored_) Restore();
}

void ScriptLexer::Saver::Restore() {
  if (restored_) return;
  restored_ = true;
  lexer_.reader_.Restore(position_);
  lexer_.reader_.Unpin();
  --lexer_.savedPositions_;
  lexer_.line_ = line_;
  lexer_.column_ = column_;
  lexer_.tokenStartColumn_ = tokenStartColumn_;
  lexer_.previousLineLength_ = previousLineLength_;
  lexer_.previousKind_ = previousKind_;
  lexer_.inQuotes_ = inQuotes_;
  lexer_.phraseWords_ = phraseWords_;
  lexer_.text_.resize(text_.length);
  if (text_.length > 0) lexer_.text_.back() = text_.last;
  lexer_.textStart_ = text_.start;
}

Token ScriptLexer::Peek() {
  Saver saver(*this);
  return Next();
}

Token ScriptLexer::PeekSecond() {
  Saver saver(*this);
  Next();
  return Next();
}

bool ScriptLexer::SkipRestOfLine() {
  int32_t c;
  do {
    c = Consume();
  } while (c != kEnd && c != u'\n');
  return c == u'\n';
}

void ScriptLexer::ResetStatementState() {
  previousKind_ = kTokenEndOfLine;
  ClearStatementText();
  inQuotes_ = false;
  phraseWords_ = 0;
}

}  // namespace Nimbra::Lexora
