// The input analysis of one scan: reads the stream through the normalising
// reader, finds words and phrases, and records every match.
#ifndef LEXORA_ENGINE_RUNTIME_INPUT_ANALYSER_H
#define LEXORA_ENGINE_RUNTIME_INPUT_ANALYSER_H

#include "engine/compiler/word_data.h"
#include "engine/input/normalizing_reader.h"
#include "engine/runtime/word_position_list.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class InputAnalyser {
 public:
  InputAnalyser(const WordData& words, ILXStream* stream)
      : words_(words), reader_(stream, NormalizingReader::Mode::Plain) {}

  // Reads the stream to its end and records matches in `positions`, whose
  // fixed records the caller has reset.
  void Run(WordPositionList& positions);

 private:
  const WordData& words_;
  NormalizingReader reader_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_INPUT_ANALYSER_H
