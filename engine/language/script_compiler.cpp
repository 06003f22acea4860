#include "engine/language/script_compiler.h"

#include "engine/base/exceptions.h"
#include "engine/base/utf.h"
#include "engine/language/script_lexer.h"
#include "engine/language/statement_parser.h"

namespace Nimbra::Lexora {

Compilation CompileStream(ILXStream* stream) {
  Compilation result;
  try {
    ScriptLexer lexer(stream);
    StatementParser parser(lexer, result.errors);
    if (parser.CompileScript()) result.script = parser.TakeCompiledScript();
  } catch (const LXException& e) {
    result.errors.push_back(e.message());
  } catch (const std::exception& e) {
    result.errors.push_back(Utf8ToUtf16(e.what()));
  }
  return result;
}

}  // namespace Nimbra::Lexora
