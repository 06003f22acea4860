// Registration of everything a statement can load, under one identifier
// numbering, and the link step. An item met twice keeps its first
// identifier.
#ifndef LEXORA_ENGINE_COMPILER_CODE_GENERATOR_H
#define LEXORA_ENGINE_COMPILER_CODE_GENERATOR_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "engine/compiler/compiled_script.h"

namespace Nimbra::Lexora {

class CodeGenerator {
 public:
  explicit CodeGenerator(CompiledScript& script) : script_(script) {}

  Program& program() { return script_.program; }

  // Unquoted patterns compare with the 26 basic Latin capitals lowered;
  // unquoted words by simple case folding; quoted items exactly. Unquoted
  // items go to the case-folding word table, quoted ones to the exact one.
  uint32_t RegisterUnquotedPattern(const std::u16string& text);
  uint32_t RegisterQuotedPattern(const std::u16string& text);
  uint32_t RegisterUnquotedWord(const std::u16string& text);
  uint32_t RegisterQuotedWord(const std::u16string& text);
  // Registers a class and then the classes it depends on.
  uint32_t RegisterClass(int32_t classId);
  uint16_t ExtendSequence(uint16_t state, uint32_t id);
  uint32_t RegisterSequence(uint16_t finalState, uint32_t elementCount, const std::u16string& text);

  // Resolves jumps and builds the word automata, once.
  void Link();

 private:
  uint32_t AddWord(WordTable& table, const std::u16string& text);

  CompiledScript& script_;
  std::unordered_map<std::u16string, uint32_t> unquotedPatterns_;  // keyed by the lowered text
  std::unordered_map<std::u16string, uint32_t> quotedPatterns_;
  std::map<std::u16string, uint32_t, FoldedLess> unquotedWords_;
  std::map<std::u16string, uint32_t> quotedWords_;
  std::map<int32_t, uint32_t> classes_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_CODE_GENERATOR_H
