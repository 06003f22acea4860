// The word-finding tables of a compiled script.
#ifndef LEXORA_ENGINE_COMPILER_WORD_DATA_H
#define LEXORA_ENGINE_COMPILER_WORD_DATA_H

#include <array>
#include <cstdint>
#include <string>

#include "engine/base/char_classes.h"
#include "engine/compiler/sequence_table.h"
#include "engine/compiler/word_table.h"

namespace Nimbra::Lexora {

// What a unit is between words: a separator that no automaton of the script
// reads, so that it ends every word and begins none; a soft hyphen, passed
// without being seen; or anything else.
enum class Gap : uint8_t { kOther, kSeparator, kSoftHyphen };

struct WordData {
  WordTable folded{false};  // words matched without regard to case, and NUM
  WordTable exact{true};    // words matched with case
  ClassMap classes;
  SequenceTable sequences;
  // The gap kind of each unit below U+0100, read once per unit by the word
  // finder; filled by FindLatinGaps once both tables are built.
  std::array<Gap, 256> latinGaps{};
  // The ASCII units that are neither word characters nor joiners but that
  // some automaton reads; filled with latinGaps.
  std::string asciiSeparatorsRead;

  // Whether the case-folding literal automaton is the script's only one, so
  // that the word finder may walk by it alone.
  bool FoldedLiteralsOnly() const {
    return folded.literalInUse() && !exact.literalInUse() && !folded.wildcardInUse() &&
           !exact.wildcardInUse();
  }

  Gap GapOf(char16_t unit) const {
    return unit < latinGaps.size() ? latinGaps[unit] : ComputeGap(unit);
  }
  Gap ComputeGap(char16_t unit) const;
  void FindLatinGaps();
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_COMPILER_WORD_DATA_H
