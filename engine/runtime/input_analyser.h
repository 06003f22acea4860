// The input analysis of a runner: reads a stream through the normalising
// reader, finds words and phrases, and records every match. One analyser
// serves every scan of its runner, so that the wildcard automata's
// determinised states, learnt from earlier texts, are not learnt again, nor
// whether passing absent words by blocks pays.
#ifndef LEXORA_ENGINE_RUNTIME_INPUT_ANALYSER_H
#define LEXORA_ENGINE_RUNTIME_INPUT_ANALYSER_H

#include <array>

#include "engine/compiler/word_data.h"
#include "engine/runtime/wildcard_stepper.h"
#include "engine/runtime/word_finder.h"
#include "engine/runtime/word_position_list.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class InputAnalyser {
 public:
  explicit InputAnalyser(const WordData& words,
                         WordFinder::Method method = WordFinder::Method::kFast)
      : words_(words),
        wildcards_{WildcardStepper(words.folded), WildcardStepper(words.exact)},
        method_(method) {}

  // Reads `stream` to its end and records matches in `positions`, whose
  // fixed records the caller has reset.
  void Run(ILXStream* stream, WordPositionList& positions);

 private:
  const WordData& words_;
  std::array<WildcardStepper, 2> wildcards_;
  WordFinder::BlockTrial trial_;
  WordFinder::Method method_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_INPUT_ANALYSER_H
