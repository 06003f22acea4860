#include "engine/runtime/span_index.h"

#include <algorithm>
#include <numeric>

namespace Nimbra::Lexora {
namespace {

int64_t Signed(uint32_t word) {
  return static_cast<int32_t>(word);
}

// Sorts the indexes of `spans` by one end and lists that end beside them.
template <class End>
void SortBy(const std::vector<Span>& spans, End end, std::vector<uint32_t>& order,
            std::vector<int32_t>& values) {
  order.resize(spans.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return end(spans[a]) < end(spans[b]); });
  values.resize(spans.size());
  for (size_t i = 0; i < order.size(); ++i) values[i] = end(spans[order[i]]);
}

}  // namespace

void SpanIndex::Assign(std::vector<Span>& spans) {
  spans_.swap(spans);
  spans.clear();
  startsSorted_ = endsSorted_ = treeBuilt_ = false;
}

void SpanIndex::SortByStart() {
  if (startsSorted_) return;
  SortBy(
      spans_, [](const Span& s) { return static_cast<int32_t>(s.first); }, byStart_, starts_);
  startsSorted_ = true;
}

void SpanIndex::SortByEnd() {
  if (endsSorted_) return;
  SortBy(
      spans_, [](const Span& s) { return static_cast<int32_t>(s.last); }, byEnd_, ends_);
  endsSorted_ = true;
}

bool SpanIndex::AnyWithin(Relation relation, Span p, int32_t distance) {
  Find(relation, p, distance, true);
  return !found_.empty();
}

std::span<const uint32_t> SpanIndex::AllWithin(Relation relation, Span p, int32_t distance) {
  Find(relation, p, distance, false);
  std::sort(found_.begin(), found_.end());
  return found_;
}

// FollowedBy holds for the spans starting in (p.last, p.last + n];
// PrecededBy for those ending in [p.first - n, p.first). Near holds for the
// same spans as FollowedBy, and for the spans starting at or before p.last
// that end at or after p.first - n (they overlap p or precede it within n).
void SpanIndex::Find(Relation relation, Span p, int32_t distance, bool first) {
  found_.clear();
  if (distance < 0 || spans_.empty()) return;
  const int64_t n = distance, ps = Signed(p.first), pe = Signed(p.last);
  auto take = [&](const std::vector<uint32_t>& order, size_t lo, size_t hi) {
    if (first) hi = std::min(hi, lo + 1);
    found_.insert(found_.end(), order.begin() + lo, order.begin() + hi);
  };
  if (relation == Relation::PrecededBy) {
    SortByEnd();
    auto lo = std::lower_bound(ends_.begin(), ends_.end(), ps - n);
    auto hi = std::lower_bound(lo, ends_.end(), ps);
    take(byEnd_, lo - ends_.begin(), hi - ends_.begin());
    return;
  }
  SortByStart();
  auto after = std::upper_bound(starts_.begin(), starts_.end(), pe);
  auto hi = std::upper_bound(after, starts_.end(), pe + n);
  take(byStart_, after - starts_.begin(), hi - starts_.begin());
  if (relation == Relation::Near && !(first && !found_.empty())) {
    FindEndingFrom(static_cast<size_t>(after - starts_.begin()), ps - n, first);
  }
}

bool SpanIndex::FindEndingFrom(size_t count, int64_t end, bool first) {
  const size_t leaves = byStart_.size();
  if (!treeBuilt_) {
    largestEnd_.resize(2 * leaves);
    for (size_t i = 0; i < leaves; ++i) {
      largestEnd_[leaves + i] = static_cast<int32_t>(spans_[byStart_[i]].last);
    }
    for (size_t i = leaves - 1; i > 0; --i) {
      largestEnd_[i] = std::max(largestEnd_[2 * i], largestEnd_[2 * i + 1]);
    }
    treeBuilt_ = true;
  }
  // The nodes that cover leaves [0, count) exactly, from both sides inward.
  for (size_t l = leaves, r = leaves + count; l < r; l /= 2, r /= 2) {
    if ((l & 1) && !Descend(l++, end, first)) return false;
    if ((r & 1) && !Descend(--r, end, first)) return false;
  }
  return true;
}

bool SpanIndex::Descend(size_t node, int64_t end, bool first) {
  if (largestEnd_[node] < end) return true;
  const size_t leaves = byStart_.size();
  if (node >= leaves) {
    found_.push_back(byStart_[node - leaves]);
    return !first;
  }
  return Descend(2 * node, end, first) && Descend(2 * node + 1, end, first);
}

}  // namespace Nimbra::Lexora
