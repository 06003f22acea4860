// The positions of a positional operator's right operand, searchable by
// word index. Without it a NEAR over two words that each match a million
// times would compare every pair.
#ifndef LEXORA_ENGINE_RUNTIME_SPAN_INDEX_H
#define LEXORA_ENGINE_RUNTIME_SPAN_INDEX_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/runtime/word_position_list.h"

namespace Nimbra::Lexora {

class SpanIndex {
 public:
  // Takes the spans in operand order.
  void Assign(std::vector<Span> spans);
  bool empty() const { return spans_.empty(); }

  // Calls visit(q) for every span q, in operand order, that could lie within
  // `distance` words of p (overlapping it, or ending or starting at most
  // `distance` words away); the caller decides the exact relation. Stops
  // when visit returns false.
  template <class Visit>
  void ForEachCandidate(Span p, int32_t distance, Visit visit);

 private:
  std::vector<Span> spans_;
  std::vector<uint32_t> byStart_;  // indexes into spans_, by start word
  int64_t maxLength_ = 0;
  std::vector<uint32_t> found_;
};

template <class Visit>
void SpanIndex::ForEachCandidate(Span p, int32_t distance, Visit visit) {
  // q is a candidate when q.start <= p.last + distance and
  // q.last >= p.first - distance; q.last <= q.start + maxLength_.
  int64_t d = distance < 0 ? 0 : distance;
  int64_t lowStart = static_cast<int64_t>(static_cast<int32_t>(p.first)) - d - maxLength_;
  int64_t highStart = static_cast<int64_t>(static_cast<int32_t>(p.last)) + d;
  auto startOf = [this](uint32_t k) {
    return static_cast<int64_t>(static_cast<int32_t>(spans_[k].first));
  };
  size_t lo = 0, hi = byStart_.size();
  while (lo < hi) {  // first index whose start is >= lowStart
    size_t mid = (lo + hi) / 2;
    if (startOf(byStart_[mid]) < lowStart) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  found_.clear();
  for (size_t k = lo; k < byStart_.size() && startOf(byStart_[k]) <= highStart; ++k) {
    found_.push_back(byStart_[k]);
  }
  std::sort(found_.begin(), found_.end());
  for (uint32_t k : found_) {
    if (!visit(spans_[k])) return;
  }
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_SPAN_INDEX_H
