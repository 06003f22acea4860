#include "engine/runtime/span_index.h"

#include <algorithm>
#include <numeric>

namespace Nimbra::Lexora {
namespace {

int64_t Signed(uint32_t word) {
  return static_cast<int32_t>(word);
}

// Sorts the indexes of `spans` by one end and lists that end beside them.
// Operands are mostly in text order already: then nothing moves.
template <class End>
void SortBy(const std::vector<Span>& spans, End end, std::vector<uint32_t>& order,
            std::vector<int32_t>& values) {
  order.resize(spans.size());
  std::iota(order.begin(), order.end(), 0u);
  auto before = [&](uint32_t a, uint32_t b) { return end(spans[a]) < end(spans[b]); };
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::sort(order.begin(), order.end(), before);
  }
  values.resize(spans.size());
  for (size_t i = 0; i < order.size(); ++i) values[i] = end(spans[order[i]]);
}

using Iterator = std::vector<int32_t>::const_iterator;

// The first value from `from` on for which `below` is false, in sorted
// values, by steps that double: as quick as a walk when it is near, as a
// binary search when it is far.
template <class Below>
Iterator Gallop(Iterator from, Iterator end, Below below) {
  size_t step = 1;
  while (step <= static_cast<size_t>(end - from) && below(from[step - 1])) {
    from += static_cast<ptrdiff_t>(step);
    step *= 2;
  }
  return std::partition_point(
      from, from + static_cast<ptrdiff_t>(std::min(step, static_cast<size_t>(end - from))), below);
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
  longest_ = 0;
  for (const Span& s : spans_) longest_ = std::max(longest_, Signed(s.last) - Signed(s.first));
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
  if (!std::is_sorted(found_.begin(), found_.end())) std::sort(found_.begin(), found_.end());
  return found_;
}

// FollowedBy holds for the spans starting in (p.last, p.last + n];
// PrecededBy for those ending in [p.first - n, p.first). Near holds for the
// spans starting at or before p.last that end at or after p.first - n (they
// overlap p or precede it within n), and for the same spans as FollowedBy.
void SpanIndex::Find(Relation relation, Span p, int32_t distance, bool first) {
  found_.clear();
  if (distance < 0 || spans_.empty()) return;
  const int64_t n = distance, ps = Signed(p.first), pe = Signed(p.last);
  auto take = [&](const std::vector<uint32_t>& order, size_t lo, size_t hi) {
    if (first) hi = std::min(hi, lo + 1);
    found_.insert(found_.end(), order.begin() + static_cast<ptrdiff_t>(lo),
                  order.begin() + static_cast<ptrdiff_t>(hi));
  };
  if (relation == Relation::PrecededBy) {
    SortByEnd();
    auto lo = std::lower_bound(ends_.cbegin(), ends_.cend(), ps - n);
    auto hi = Gallop(lo, ends_.cend(), [ps](int64_t e) { return e < ps; });
    take(byEnd_, lo - ends_.cbegin(), hi - ends_.cbegin());
    return;
  }
  SortByStart();
  // Only spans starting from p.first - n - longest can reach p.first - n.
  auto from = std::lower_bound(starts_.cbegin(), starts_.cend(), std::min(ps - n - longest_, pe));
  auto after = Gallop(from, starts_.cend(), [pe](int64_t s) { return s <= pe; });
  if (relation == Relation::Near &&
      !FindEndingFrom(from - starts_.cbegin(), after - starts_.cbegin(), ps - n, first)) {
    return;
  }
  auto hi = Gallop(after, starts_.cend(), [pe, n](int64_t s) { return s <= pe + n; });
  take(byStart_, after - starts_.cbegin(), hi - starts_.cbegin());
}

bool SpanIndex::FindEndingFrom(size_t from, size_t to, int64_t end, bool first) {
  if (to - from <= kFewSpans) {  // looking at each is quicker than the tree
    for (size_t i = from; i < to; ++i) {
      if (static_cast<int32_t>(spans_[byStart_[i]].last) < end) continue;
      found_.push_back(byStart_[i]);
      if (first) return false;
    }
    return true;
  }
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
  // The nodes that cover leaves [from, to) exactly, from both sides inward.
  for (size_t l = leaves + from, r = leaves + to; l < r; l /= 2, r /= 2) {
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
