// Where each identifier matched during one scan: per identifier, an
// append-only list of word-index spans. Fixed identifiers (the script's words,
// classes and sequences) come first; temporaries made by the positional
// operators follow them.
#ifndef LEXORA_ENGINE_RUNTIME_WORD_POSITION_LIST_H
#define LEXORA_ENGINE_RUNTIME_WORD_POSITION_LIST_H

#include <cstdint>
#include <span>
#include <vector>

namespace Nimbra::Lexora {

// First and last word index, both inclusive; a single word has first == last.
struct Span {
  uint32_t first;
  uint32_t last;
  bool operator==(const Span&) const = default;
};

class WordPositionList {
 public:
  // Empties every fixed record (keeping storage for the next scan), makes
  // room for `fixedCount` of them and releases the temporaries.
  void Reset(uint32_t fixedCount);

  // Appends a span to a record; RuntimeError "ID out of range" for an
  // identifier at or beyond size().
  void Record(uint32_t id, Span span);
  // The fixed identifiers recorded since the last Reset, each once, in the
  // order of their first span.
  std::span<const uint32_t> matched() const { return matched_; }
  // Creates a temporary record holding `spans` (taken over, not copied: a
  // positional operator's result can hold millions); returns its identifier.
  // `spans` is left empty, with storage to reuse.
  uint32_t NewTemporary(std::vector<Span>& spans);
  // Frees a temporary that nothing can read any more; its identifier stays
  // valid and reads as empty. Only the largest storage freed is kept, for
  // the next temporary.
  void ReleaseTemporary(uint32_t id);
  // The spans of a record, in the order recorded; "ID out of range" beyond.
  std::span<const Span> SpansOf(uint32_t id) const;

  uint32_t fixedCount() const { return fixedCount_; }
  uint32_t size() const { return fixedCount_ + temporaryCount_; }

 private:
  std::vector<Span>& RecordOf(uint32_t id);

  uint32_t fixedCount_ = 0;
  uint32_t temporaryCount_ = 0;
  // Fixed records are kept between scans so their storage is reused; only
  // the first fixedCount_ are live. Temporaries are freed when released or
  // reset, so what a scan holds follows what it can still read.
  std::vector<std::vector<Span>> fixed_;
  std::vector<std::vector<Span>> temporaries_;
  std::vector<Span> spare_;
  // Only these fixed records hold spans, so only they need emptying.
  std::vector<uint32_t> matched_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_RUNTIME_WORD_POSITION_LIST_H
