#include "engine/input/charset/candidate_list.h"

#include <cstring>

namespace Nimbra::Lexora {

void CharsetCandidateList::Add(int32_t confidence, int32_t weight, const char* name) {
  if (confidence <= 0 || size_ == kCapacity) return;
  items_[size_++] = {confidence, weight, name};
}

void CharsetCandidateList::Sort() {
  // Insertion sort: stable, and the list is short and must not allocate.
  for (size_t i = 1; i < size_; ++i) {
    CharsetCandidate item = items_[i];
    size_t j = i;
    for (; j > 0 && PrecedesCandidate(item, items_[j - 1]); --j) items_[j] = items_[j - 1];
    items_[j] = item;
  }
}

bool PrecedesCandidate(const CharsetCandidate& a, const CharsetCandidate& b) {
  if (a.confidence != b.confidence) return a.confidence > b.confidence;
  if (a.weight != b.weight) return a.weight > b.weight;
  return std::strcmp(a.name, b.name) < 0;
}

}  // namespace Nimbra::Lexora
