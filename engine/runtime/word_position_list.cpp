#include "engine/runtime/word_position_list.h"

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {

void WordPositionList::Reset(uint32_t fixedCount) {
  for (uint32_t id : matched_) fixed_[id].clear();
  matched_.clear();
  for (uint32_t i = 0; i < temporaryCount_; ++i) ReleaseTemporary(fixedCount_ + i);
  if (fixed_.size() < fixedCount) fixed_.resize(fixedCount);
  fixedCount_ = fixedCount;
  temporaryCount_ = 0;
}

std::vector<Span>& WordPositionList::RecordOf(uint32_t id) {
  if (id < fixedCount_) return fixed_[id];
  if (id - fixedCount_ < temporaryCount_) return temporaries_[id - fixedCount_];
  throw RuntimeError(u"ID out of range");
}

void WordPositionList::Record(uint32_t id, Span span) {
  std::vector<Span>& record = RecordOf(id);
  if (record.empty() && id < fixedCount_) matched_.push_back(id);
  record.push_back(span);
}

uint32_t WordPositionList::NewTemporary(std::vector<Span>& spans) {
  if (temporaryCount_ == temporaries_.size()) temporaries_.emplace_back();
  temporaries_[temporaryCount_].swap(spans);  // a fresh or released record: no storage
  spans.swap(spare_);
  spans.clear();
  return fixedCount_ + temporaryCount_++;
}

void WordPositionList::ReleaseTemporary(uint32_t id) {
  if (id < fixedCount_) return;  // only temporaries are freed
  std::vector<Span> freed;
  freed.swap(RecordOf(id));
  if (freed.capacity() > spare_.capacity()) freed.swap(spare_);
}

std::span<const Span> WordPositionList::SpansOf(uint32_t id) const {
  return const_cast<WordPositionList*>(this)->RecordOf(id);
}

}  // namespace Nimbra::Lexora
