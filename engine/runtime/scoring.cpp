#include "engine/runtime/scoring.h"

#include <algorithm>
#include <cstdint>

#include "engine/base/format.h"

namespace Nimbra::Lexora {

namespace {

// A score past the 32-bit range stops at its end instead of wrapping to the
// other sign, which would let the worst text pass every threshold.
int32_t Saturated(int64_t score) {
  return static_cast<int32_t>(std::clamp<int64_t>(score, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t ExpressionScore(const OptionRecord& options, uint32_t hits) {
  if (hits == 0) return 0;
  uint32_t counted = hits;
  if (options.matchLimit > 0 && hits > static_cast<uint32_t>(options.matchLimit)) {
    counted = static_cast<uint32_t>(options.matchLimit);
  }
  return Saturated(static_cast<int64_t>(options.score) * counted);
}

int32_t TotalScore(const Program& program, std::span<const uint32_t> hits,
                   std::span<const uint32_t> triggered) {
  int64_t total = 0;  // fewer than 2^32 terms below 2^31 each: no overflow
  for (uint32_t i : triggered) {
    if (i < hits.size()) total += ExpressionScore(program.Options(i), hits[i]);
  }
  return Saturated(total);
}

std::u16string BuildReport(const Program& program, std::span<const uint32_t> hits, bool quoteTexts,
                           bool numbered) {
  constexpr size_t kLineCapacity = 2048;
  std::u16string report;
  for (uint32_t i = 0; i < hits.size(); ++i) {
    uint32_t h = hits[i];
    if (h == 0) continue;
    const OptionRecord& options = program.Options(i);
    int32_t score = ExpressionScore(options, h);
    const char16_t* plural = h == 1 ? u"" : u"s";
    std::u16string line;
    if (!options.name.empty()) {
      line = Format(u"Expression named '%ls' triggered %d time%ls, score %ld", options.name, h,
                    plural, score);
    } else if (quoteTexts && !numbered) {
      line = Format(u"Expression \"%ls\" triggered %d time%ls, score %ld", program.StatementText(i),
                    h, plural, score);
    } else {
      line = Format(u"Expression #%u triggered %d time%ls, score %ld", i + 1, h, plural, score);
    }
    report += CutToCapacity(std::move(line), kLineCapacity);
    report += u"\r\n";
  }
  return report;
}

}  // namespace Nimbra::Lexora
