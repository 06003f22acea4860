// The statement parser: reads a script statement by statement, checks the
// grammar and operand types, and emits code and registrations as it goes
// (there is no syntax tree). A failing statement is reported and skipped;
// parsing goes on with the next line.
#ifndef LEXORA_ENGINE_LANGUAGE_STATEMENT_PARSER_H
#define LEXORA_ENGINE_LANGUAGE_STATEMENT_PARSER_H

#include <memory>
#include <string>
#include <vector>

#include "engine/compiler/code_generator.h"
#include "engine/compiler/compiled_script.h"
#include "engine/language/script_lexer.h"

namespace Nimbra::Lexora {

// Parentheses and NOTs nest at most this deep, so that no script can
// exhaust the stack of the recursive descent.
inline constexpr int kMaxNesting = 1000;

class StatementParser {
 public:
  StatementParser(ScriptLexer& lexer, std::vector<std::u16string>& errors);

  // Builds a new compiled form, records one message per failing statement,
  // links, and returns true when no error was recorded. Errors of the link
  // step propagate.
  bool CompileScript();
  // The compiled form built by the last CompileScript.
  std::unique_ptr<CompiledScript> TakeCompiledScript() { return std::move(script_); }

 private:
  enum class Type { Boolean, PositionBased };

  void ParseStatementRecovering();
  void ParseStatement();
  void ReadOption(OptionRecord& options);
  Type ParseExpression();
  Type ParsePrimary();
  void ParseSequence();
  uint32_t RegisterItem(const Token& token);

  ScriptLexer& lexer_;
  std::vector<std::u16string>& errors_;
  std::unique_ptr<CompiledScript> script_;
  std::unique_ptr<CodeGenerator> generator_;
  int32_t statementLine_ = 0;
  int depth_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_LANGUAGE_STATEMENT_PARSER_H
