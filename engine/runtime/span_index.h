// The positions of a positional operator's right operand, searchable by
// word index, so that each left position finds the right positions in reach
// by binary search: without it a NEAR over two words that each match a
// million times would compare every pair, and a NOT NEAR with a huge
// distance would gather every right position for each left one.
#ifndef LEXORA_ENGINE_RUNTIME_SPAN_INDEX_H
#define LEXORA_ENGINE_RUNTIME_SPAN_INDEX_H

#include <cstdint>
#include <span>
#include <vector>

#include "engine/compiler/instruction.h"
#include "engine/runtime/word_position_list.h"

namespace Nimbra::Lexora {

class SpanIndex {
 public:
  // How a right span q may stand to a left span p under an opcode's
  // positional relation, at a word distance d (spans compare as signed
  // numbers):
  // Near: d = q.first - p.last when p ends before q starts, p.first - q.last
  //   when q ends before p starts, else 0 (they overlap);
  // FollowedBy: d = q.first - p.last, only when p ends before q starts;
  // PrecededBy: d = p.first - q.last, only when q ends before p starts.
  // (Relation comes from the opcode table.)

  // Takes the spans, in operand order; `spans` is left with storage to reuse.
  void Assign(std::vector<Span>& spans);
  const Span& at(uint32_t k) const { return spans_[k]; }

  // Whether some span stands in `relation` to p at a distance of at most
  // `distance` words. A negative distance is never reached.
  bool AnyWithin(Relation relation, Span p, int32_t distance);
  // The operand-order indexes of every such span, ascending; valid until the
  // next call. Near costs a search per left position and, for spans that
  // overlap or precede p, at most a few looks or one descent of the tree per
  // span found.
  std::span<const uint32_t> AllWithin(Relation relation, Span p, int32_t distance);

 private:
  // Fills found_, stopping at the first span when `first` is set.
  void Find(Relation relation, Span p, int32_t distance, bool first);
  // Adds to found_ the spans from `from` to `to` in start order whose end is
  // at least `end`; false when it stopped at the first (`first` set).
  bool FindEndingFrom(size_t from, size_t to, int64_t end, bool first);
  bool Descend(size_t node, int64_t end, bool first);
  void SortByStart();
  void SortByEnd();

  static constexpr size_t kFewSpans = 32;

  std::vector<Span> spans_;
  // Built on first use after each Assign: the spans' indexes with their
  // starts, sorted by start, and the longest span; the indexes with their
  // ends, sorted by end; and a tree of the largest end over ranges of the
  // start order (leaves from byStart_.size() on, node i the larger of nodes
  // 2i and 2i + 1).
  bool startsSorted_ = false;
  bool endsSorted_ = false;
  bool treeBuilt_ = false;
  std::vector<uint32_t> byStart_;
  std::vector<int32_t> starts_;
  int64_t longest_ = 0;  // the largest end minus start
  std::vector<uint32_t> byEnd_;
  std::vector<int32_t> ends_;
  std::vector<int32_t> largestEnd_;
  std::vector<uint32_t> found_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_SPAN_INDEX_H
