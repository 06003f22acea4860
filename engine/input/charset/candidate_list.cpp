#include "engine/input/charset/candidate_list.h"

#include <algorithm>
#include <cstring>

namespace Nimbra::Lexora {

void CharsetCandidateList::Add(int32_t confidence, int32_t weight, const char* name) {
  if (confidence <= 0 || size_ == kCapacity) return;
  items_[size_++] = {confidence, weight, name};
}

void CharsetCandidateList::Sort() {
  std::stable_sort(items_, items_ + size_, PrecedesCandidate);
}

bool PrecedesCandidate(const CharsetCandidate& a, const CharsetCandidate& b) {
  if (a.confidence != b.confidence) return a.confidence > b.confidence;
  if (a.weight != b.weight) return a.weight > b.weight;
  return std::strcmp(a.name, b.name) < 0;
}

}  // namespace Nimbra::Lexora
