#include "engine/runtime/input_analyser.h"

#include "engine/input/normalizing_reader.h"
#include "engine/runtime/sequence_finder.h"

namespace Nimbra::Lexora {

void InputAnalyser::Run(ILXStream* stream, WordPositionList& positions) {
  NormalizingReader reader(stream, NormalizingReader::Mode::Plain);
  WordFinder words(words_, reader, wildcards_, trial_, method_);
  SequenceFinder sequences(words_, positions);
  for (WordKind kind = words.Next(); kind != WordKind::kEndOfInput; kind = words.Next()) {
    sequences.Word(words.wordIndex(), kind, words.ids(), words.text());
  }
}

}  // namespace Nimbra::Lexora
