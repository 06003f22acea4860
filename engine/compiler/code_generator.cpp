#include "engine/compiler/code_generator.h"

#include "engine/base/char_classes.h"

namespace Nimbra::Lexora {
namespace {

std::u16string LowerBasicLatin(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

// The identifier registered under key, registering it with make() when new.
template <class Map, class Make>
uint32_t FindOrAdd(Map& map, const typename Map::key_type& key, Make make) {
  auto it = map.find(key);
  if (it != map.end()) return it->second;
  uint32_t id = make();
  map.emplace(key, id);
  return id;
}

}  // namespace

uint32_t CodeGenerator::AddWord(WordTable& table, const std::u16string& text) {
  uint32_t id = script_.program.AddIdentifier(text);
  table.AddWord(text, id);
  return id;
}

uint32_t CodeGenerator::RegisterUnquotedPattern(const std::u16string& text) {
  return FindOrAdd(unquotedPatterns_, LowerBasicLatin(text),
                   [&] { return AddWord(script_.words.folded, text); });
}

uint32_t CodeGenerator::RegisterQuotedPattern(const std::u16string& text) {
  return FindOrAdd(quotedPatterns_, text, [&] { return AddWord(script_.words.exact, text); });
}

uint32_t CodeGenerator::RegisterUnquotedWord(const std::u16string& text) {
  return FindOrAdd(unquotedWords_, text, [&] { return AddWord(script_.words.folded, text); });
}

uint32_t CodeGenerator::RegisterQuotedWord(const std::u16string& text) {
  return FindOrAdd(quotedWords_, text, [&] { return AddWord(script_.words.exact, text); });
}

uint32_t CodeGenerator::RegisterClass(int32_t classId) {
  auto it = classes_.find(classId);
  if (it != classes_.end()) return it->second;
  uint32_t id = script_.program.AddIdentifier(std::u16string(ClassName(classId)));
  script_.words.classes.Add(classId, id);
  classes_.emplace(classId, id);
  for (int32_t dependency : ClassDependencies(classId)) RegisterClass(dependency);
  return id;
}

uint16_t CodeGenerator::ExtendSequence(uint16_t state, uint32_t id) {
  return script_.words.sequences.Step(state, id);
}

uint32_t CodeGenerator::RegisterSequence(uint16_t finalState, uint32_t elementCount,
                                         const std::u16string& text) {
  SequenceTable::Registration r = script_.words.sequences.Register(
      finalState, elementCount, text, script_.program.identifierCount());
  if (r.added) script_.program.AddIdentifier(text);
  return r.id;
}

void CodeGenerator::Link() {
  script_.program.LinkJumps();
  if (script_.linked) return;
  script_.words.folded.Build(script_.words.classes.WordIdOf(kClassNum));
  script_.words.exact.Build(std::nullopt);
  WordData& words = script_.words;
  // Only the walk of a script whose one automaton is the case-folding
  // literal one passes words by the filter; others need not keep it.
  if (!words.FoldedLiteralsOnly()) words.folded.DropAsciiWords();
  words.FindLatinGaps();
  script_.linked = true;
}

}  // namespace Nimbra::Lexora
