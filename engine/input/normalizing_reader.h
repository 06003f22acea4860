// The buffered NFKD reader between a stream and its consumers (the script
// lexer and the input word finder). It undoes the "ENC" transfer encoding
// when asked to detect it, decomposes by compatibility, and keeps a buffer
// with a read index that consumers advance themselves. Case folding is left
// to the consumers.
#ifndef LEXORA_ENGINE_INPUT_NORMALIZING_READER_H
#define LEXORA_ENGINE_INPUT_NORMALIZING_READER_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "engine/input/transfer_encoding.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class NormalizingReader {
 public:
  enum class Mode { Plain = 0, Enciphered = 1, Detect = 2 };

  // A consumer's saved place: the index of the last consumed unit and the
  // count of units consumed so far.
  struct Position {
    ptrdiff_t readIndex;
    uint64_t consumed;
  };

  NormalizingReader(ILXStream* stream, Mode mode);

  // Makes at least n units available after the read index; false when the
  // stream ended with fewer.
  bool Ensure(size_t n) {
    if (readIndex_ + static_cast<ptrdiff_t>(n) < static_cast<ptrdiff_t>(buffer_.size())) {
      return true;
    }
    return Fill(n);
  }
  // The unit `ahead` places after the read index; Ensure(ahead + 1) first.
  char16_t Peek(size_t ahead = 0) const { return buffer_[readIndex_ + 1 + ahead]; }
  void Advance(size_t n = 1) {
    readIndex_ += static_cast<ptrdiff_t>(n);
    consumed_ += n;
  }
  // The units available after the read index, for consumers that walk a
  // run of them at once; valid until the next Ensure.
  std::u16string_view Available() const {
    return std::u16string_view(buffer_).substr(static_cast<size_t>(readIndex_ + 1));
  }
  uint64_t consumed() const { return consumed_; }
  Position position() const { return {readIndex_, consumed_}; }
  void Restore(Position p) {
    readIndex_ = p.readIndex;
    consumed_ = p.consumed;
  }
  // While pinned (a mark or a saved lexer position), consumed units are kept
  // so that a saved position stays valid. The first pin drops what was
  // consumed before it, when that is much.
  void Pin() {
    DiscardConsumedWhenMany();
    ++pins_;
  }
  void Unpin() { --pins_; }

  Mode mode() const { return mode_; }

 private:
  static constexpr size_t kChunkUnits = 128;
  // Text without an inert code unit is normalised anyway past this length,
  // so hostile input cannot grow the pending text without bound.
  static constexpr size_t kMaxPendingUnits = 64 * 1024;
  // Consumed units are dropped, while nothing is pinned, once more than this
  // many have gathered.
  static constexpr ptrdiff_t kKeptConsumedUnits = 64;

  // The index of the last consumed unit among the units kept.
  ptrdiff_t readIndex() const { return readIndex_ - static_cast<ptrdiff_t>(start_); }
  void DiscardConsumedWhenMany() {
    if (pins_ == 0 && readIndex() >= kKeptConsumedUnits) DiscardConsumed();
  }
  void DiscardConsumed();

  bool Fill(size_t n);
  // Reads and processes one chunk; false when the stream is exhausted.
  bool ReadChunk();
  void TakeChunk(std::u16string_view chunk);
  void FlushPending();

  ILXStream* stream_;
  Mode mode_;
  const icu::Normalizer2* normalizer_;
  // Units before start_ are dropped; they are moved out only when enough of
  // them have gathered, so that discarding costs no copy each time.
  static constexpr size_t kCompactAt = 2048;

  std::u16string buffer_;
  size_t start_ = 0;
  ptrdiff_t readIndex_ = -1;  // in buffer_
  uint64_t consumed_ = 0;
  int pins_ = 0;
  bool atStart_ = true;
  bool ended_ = false;
  icu::UnicodeString pending_;
  std::unique_ptr<TransferDecoder> decoder_;
  std::u16string decoded_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_NORMALIZING_READER_H
