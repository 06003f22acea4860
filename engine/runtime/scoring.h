// Scores and the text report of a scan, from the statements' hit counters.
#ifndef LEXORA_ENGINE_RUNTIME_SCORING_H
#define LEXORA_ENGINE_RUNTIME_SCORING_H

#include <cstdint>
#include <span>
#include <string>

#include "engine/compiler/program.h"

namespace Nimbra::Lexora {

// Score per counted hit times the hits counted (all of them, or at most
// the match limit), held within the signed 32-bit range.
int32_t ExpressionScore(const OptionRecord& options, uint32_t hits);
// The sum of the scores of the statements that triggered (each listed
// once), held within the signed 32-bit range. Summing only those keeps the
// cost of a scan of a large script in what the text touched.
int32_t TotalScore(const Program& program, std::span<const uint32_t> hits,
                   std::span<const uint32_t> triggered);
// One "\r\n"-terminated line per triggered statement, in statement order.
// Named statements show their name; others their text when quoteTexts is
// set and the script is not numbered, else their number.
std::u16string BuildReport(const Program& program, std::span<const uint32_t> hits, bool quoteTexts,
                           bool numbered);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_SCORING_H
