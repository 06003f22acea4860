#include "engine/language/statement_parser.h"

#include "engine/base/char_classes.h"
#include "engine/base/exceptions.h"
#include "engine/base/utf.h"
#include "engine/language/integer_reader.h"

namespace Nimbra::Lexora {
namespace {

// One level of nesting, left when the nested parse ends, however it ends. A
// level refused for its depth is never entered, so a failing statement
// leaves nothing behind for the next one.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) {
    if (depth_ >= kMaxNesting) {
      throw SyntaxError(u"Expression nested too deeply (more than %d levels)", kMaxNesting);
    }
    ++depth_;
  }
  ~DepthGuard() { --depth_; }

 private:
  int& depth_;
};

uint32_t PositionalOpcode(TokenKind kind, bool negated) {
  switch (kind) {
    case kTokenNear:
      return OpcodeOf(Relation::Near, negated);
    case kTokenFollowedBy:
      return OpcodeOf(Relation::FollowedBy, negated);
    default:
      return OpcodeOf(Relation::PrecededBy, negated);
  }
}

const char16_t* PositionalTypeError(TokenKind kind) {
  switch (kind) {
    case kTokenNear:
      return u"NEAR operator may only be used between position-based expressions";
    case kTokenFollowedBy:
      return u"FOLLOWEDBY operator may only be used between position-based expressions";
    default:
      return u"PRECEDEDBY operator may only be used between position-based expressions";
  }
}

bool IsOperator(TokenKind kind) {
  return kind == kTokenAnd || kind == kTokenOr || kind == kTokenNot || IsPositionalOperator(kind);
}

}  // namespace

StatementParser::StatementParser(ScriptLexer& lexer, std::vector<std::u16string>& errors)
    : lexer_(lexer), errors_(errors) {}

bool StatementParser::CompileScript() {
  errors_.clear();
  script_ = std::make_unique<CompiledScript>();
  script_->numbered = lexer_.enciphered();
  generator_ = std::make_unique<CodeGenerator>(*script_);
  for (;;) {
    Token next = lexer_.Peek();
    if (next.kind == kTokenEndOfFile) break;
    if (next.kind == kTokenEndOfLine) {
      lexer_.Next();
      continue;
    }
    statementLine_ = next.line;
    ParseStatementRecovering();
  }
  generator_->Link();
  return errors_.empty();
}

// One statement under recovery: its error is recorded with the statement's
// line, and reading resumes on the next line from a clean state.
void StatementParser::ParseStatementRecovering() {
  try {
    ParseStatement();
    return;
  } catch (SyntaxError& e) {
    int32_t column = e.column();
    if (column == -1) {
      column = lexer_.line() == statementLine_ ? lexer_.tokenStartColumn()
                                               : lexer_.previousLineLength() + 1;
    }
    e.Place(statementLine_, column);
    errors_.push_back(e.message());
  } catch (const LXException& e) {
    errors_.push_back(e.message());
  } catch (const std::exception& e) {
    errors_.push_back(Utf8ToUtf16(e.what()));
  }
  // A statement that fails on a peek leaves the lexer before any comment
  // lines that precede it: skip until past the statement's own line.
  while (lexer_.line() <= statementLine_ && lexer_.SkipRestOfLine()) {
  }
  lexer_.ResetStatementState();
}

void StatementParser::ParseStatement() {
  OptionRecord options;
  while (lexer_.Peek().kind == kTokenOptionName && lexer_.PeekSecond().kind == kTokenOptionValue) {
    ReadOption(options);
  }
  options.positionBased = ParseExpression() == Type::PositionBased;
  Program& program = script_->program;
  std::u16string name = options.name;
  uint32_t index = program.AddStatement(lexer_.statementText(), std::move(options));
  if (!name.empty()) program.EnterName(name, index);
  program.Emit(kOpStore, static_cast<int32_t>(index));
  Token end = lexer_.Next();
  if (end.kind != kTokenEndOfLine && end.kind != kTokenEndOfFile) {
    throw SyntaxError(u"Expecting %ls", u"end-of-line");
  }
}

void StatementParser::ReadOption(OptionRecord& options) {
  std::u16string name = lexer_.Next().text;
  std::u16string value = lexer_.Next().text;
  if (name == u"SCORE") {
    ReadInteger score = ReadLeadingInteger(value);
    if (!score.complete) throw SyntaxError(u"\"SCORE\" must be an integer value");
    if (score.value < -10000 || score.value > 10000) {
      throw SyntaxError(u"\"SCORE\" must be between -10000 and 10000");
    }
    options.score = score.value;
  } else if (name == u"MATCH") {
    if (value == u"ALL") {
      options.matchLimit = 0;
    } else if (value == u"ONCE") {
      options.matchLimit = 1;
    } else {
      ReadInteger match = ReadLeadingInteger(value);
      if (!match.complete)
        throw SyntaxError(u"\"MATCH\" must be an integer value, 'ONCE' or 'ALL'");
      if (match.value < 0 || match.value > 10000) {
        throw SyntaxError(u"\"MATCH\" must be between 0 ('ALL') and 10000");
      }
      options.matchLimit = match.value;
    }
  } else if (name == u"NAME") {
    if (script_->program.FindNamedStatement(value) != -1) {
      throw SyntaxError(u"Statement name \"%ls\" is already in use", value);
    }
    options.name = value;
  } else {
    throw SyntaxError(u"Unknown option \"%ls\"", name);
  }
}

// All binary operators share one precedence and associate to the left. A run
// of ANDs jumps to one label, placed at the next OR or at the end.
StatementParser::Type StatementParser::ParseExpression() {
  Program& program = script_->program;
  Type type = ParsePrimary();
  int64_t pendingLabel = -1;
  for (Token op = lexer_.Peek(); IsOperator(op.kind); op = lexer_.Peek()) {
    bool negated = false;
    if (op.kind == kTokenNot) {
      lexer_.Next();
      op = lexer_.Peek();
      if (!IsPositionalOperator(op.kind)) {
        lexer_.Next();
        throw SyntaxError(u"Expecting positional operator after NOT keyword");
      }
      negated = true;
    }
    lexer_.Next();
    int32_t operatorColumn = lexer_.tokenStartColumn();
    if (op.kind == kTokenAnd) {
      if (pendingLabel < 0) pendingLabel = program.NewLabel();
      program.Emit(kOpJz, static_cast<int32_t>(pendingLabel));
      ParsePrimary();
      program.Emit(kOpAnd);
      type = Type::Boolean;
    } else if (op.kind == kTokenOr) {
      if (pendingLabel >= 0) {
        program.DefineLabel(static_cast<uint32_t>(pendingLabel));
        pendingLabel = -1;
      }
      Type right = ParsePrimary();
      program.Emit(kOpOr);
      if (right != Type::PositionBased) type = Type::Boolean;
    } else {
      int32_t distance = 4;
      if (lexer_.Peek().kind == kTokenEquals) {
        lexer_.Next();
        Token number = lexer_.Next();
        if (number.kind != kTokenNumber) {
          throw SyntaxError(u"Expecting %ls", u"positional operator's distance parameter");
        }
        distance = ReadLeadingInteger(number.text).value;
        if (distance <= 0) throw SyntaxError(u"Invalid distance parameter for positional operator");
      }
      if (lexer_.Peek().kind == kTokenNot) {
        lexer_.Next();
        negated = true;
      }
      Type right = ParsePrimary();
      if (type != Type::PositionBased || right != Type::PositionBased) {
        throw SyntaxError::AtColumn(operatorColumn, PositionalTypeError(op.kind));
      }
      program.Emit(PositionalOpcode(op.kind, negated), distance);
    }
  }
  if (pendingLabel >= 0) program.DefineLabel(static_cast<uint32_t>(pendingLabel));
  return type;
}

StatementParser::Type StatementParser::ParsePrimary() {
  DepthGuard guard(depth_);
  Program& program = script_->program;
  Type type = Type::PositionBased;
  Token next = lexer_.Peek();
  if (next.kind == kTokenNot) {
    lexer_.Next();
    ParsePrimary();
    program.Emit(kOpNot);
    type = Type::Boolean;
  } else if (next.kind == kTokenOpen) {
    lexer_.Next();
    type = ParseExpression();
    if (lexer_.Next().kind != kTokenClose) throw SyntaxError(u"Expecting \"%lc\"", u')');
  } else if (next.kind == kTokenReference) {
    lexer_.Next();
    int32_t index = program.FindNamedStatement(next.text);
    if (index < 0) throw SyntaxError(u"No statement named \"%ls\" has yet been defined", next.text);
    program.Emit(kOpLoadResult, index);
    type = program.Options(static_cast<uint32_t>(index)).positionBased ? Type::PositionBased
                                                                       : Type::Boolean;
  } else {
    ParseSequence();
  }
  if (lexer_.Peek().kind == kTokenInstances) {
    if (type != Type::PositionBased) {
      throw SyntaxError(u"INSTANCES keyword may only be used after a position-based expression");
    }
    lexer_.Next();
    if (lexer_.Next().kind != kTokenEquals) throw SyntaxError(u"Expecting \"%lc\"", u'=');
    Token count = lexer_.Next();
    if (count.kind != kTokenNumber) {
      throw SyntaxError(u"Expecting %ls", u"INSTANCES operator's count parameter");
    }
    int32_t n = ReadLeadingInteger(count.text).value;
    if (n < 1 || n > 9999) throw SyntaxError(u"Invalid count parameter for INSTANCES keyword");
    program.Emit(kOpInstances, n);
    type = Type::Boolean;
  }
  return type;
}

// One word item loads itself; two or more adjacent items load their sequence.
void StatementParser::ParseSequence() {
  Program& program = script_->program;
  Token first = lexer_.Peek();
  if (!IsWordItem(first.kind)) {
    lexer_.Next();
    if (first.text.empty() || first.text == u"\n") throw SyntaxError(u"Unexpected end-of-line");
    throw SyntaxError(u"Invalid sequence: %ls", first.text);
  }
  if (!IsWordItem(lexer_.PeekSecond().kind)) {
    lexer_.Next();
    program.Emit(kOpLoad, static_cast<int32_t>(RegisterItem(first)));
    return;
  }
  uint16_t state = 0;
  uint32_t count = 0;
  std::u16string text;
  for (Token item = lexer_.Peek(); IsWordItem(item.kind) || item.kind == kTokenReference;
       item = lexer_.Peek()) {
    lexer_.Next();
    if (item.kind == kTokenReference) {
      throw SyntaxError(u"Unexpected token: %ls", ShortNameOf(item.kind));
    }
    state = generator_->ExtendSequence(state, RegisterItem(item));
    if (count++ > 0) text += u' ';
    text += item.text;
  }
  program.Emit(kOpLoad, static_cast<int32_t>(generator_->RegisterSequence(state, count, text)));
}

// Double quotes make words case-sensitive; unquoted words are not.
uint32_t StatementParser::RegisterItem(const Token& token) {
  switch (token.kind) {
    case kTokenPattern:
      return generator_->RegisterUnquotedPattern(token.text);
    case kTokenQuotedPattern:
      return generator_->RegisterQuotedPattern(token.text);
    case kTokenWord:
    case kTokenNumber:
      return generator_->RegisterUnquotedWord(token.text);
    case kTokenQuotedWord:
      return generator_->RegisterQuotedWord(token.text);
    case kTokenClass: {
      int32_t classId = FindClass(token.text, false);
      if (classId == kClassNone) throw SyntaxError(u"Unknown class: [%ls]", token.text);
      return generator_->RegisterClass(classId);
    }
    default:
      throw SyntaxError(u"Expecting one or more words");
  }
}

}  // namespace Nimbra::Lexora
