#include "engine/runtime/input_analyser.h"

#include "engine/runtime/sequence_finder.h"
#include "engine/runtime/word_finder.h"

namespace Nimbra::Lexora {

void InputAnalyser::Run(WordPositionList& positions) {
  WordFinder words(words_, reader_);
  SequenceFinder sequences(words_, positions);
  for (WordFinder::Result r = words.Next(); r != WordFinder::kEndOfInput; r = words.Next()) {
    sequences.Word(words.wordIndex(), r, words.ids(), words.text());
  }
}

}  // namespace Nimbra::Lexora
