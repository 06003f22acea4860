#include "engine/runtime/span_index.h"

#include <algorithm>

namespace Nimbra::Lexora {

void SpanIndex::Assign(std::vector<Span> spans) {
  spans_ = std::move(spans);
  byStart_.resize(spans_.size());
  maxLength_ = 0;
  for (uint32_t k = 0; k < spans_.size(); ++k) {
    byStart_[k] = k;
    int64_t length = static_cast<int64_t>(static_cast<int32_t>(spans_[k].last)) -
                     static_cast<int64_t>(static_cast<int32_t>(spans_[k].first));
    maxLength_ = std::max(maxLength_, length);
  }
  std::stable_sort(byStart_.begin(), byStart_.end(), [this](uint32_t a, uint32_t b) {
    return static_cast<int32_t>(spans_[a].first) < static_cast<int32_t>(spans_[b].first);
  });
}

}  // namespace Nimbra::Lexora
