// Stands in for the Hyperscan measurement when the library is not installed.
#include "bench/compare/hyperscan_measure.h"

namespace lexora_compare {

HyperscanFigures MeasureHyperscan(const std::vector<std::string>&, const Corpus&, int) {
  HyperscanFigures figures;
  figures.note = "built without Hyperscan (libhyperscan-dev not found)";
  return figures;
}

}  // namespace lexora_compare
