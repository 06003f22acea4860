#include "engine/input/normalizing_reader.h"

#include <algorithm>

#include <unicode/utf16.h>

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

const icu::Normalizer2* CompatibilityDecomposition() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n =
      icu::Normalizer2::getInstance(nullptr, "nfkc", UNORM2_DECOMPOSE, status);
  if (U_FAILURE(status) || n == nullptr) {
    throw RuntimeError(u"Unicode normalisation data is not available");
  }
  return n;
}

// Units below U+00A0 (ASCII and the C1 controls) are inert under NFKD: they
// neither change nor combine with their neighbours. Most text is made of them.
bool AllInert(std::u16string_view chunk) {
  char16_t highest = 0;
  for (char16_t c : chunk) highest = std::max(highest, c);
  return highest < 0x00A0;
}

}  // namespace

NormalizingReader::NormalizingReader(ILXStream* stream, Mode mode)
    : stream_(stream), mode_(mode), normalizer_(CompatibilityDecomposition()) {
  buffer_.reserve(256);
}

void NormalizingReader::DiscardConsumed() {
  start_ = static_cast<size_t>(readIndex_ + 1);
  if (start_ < kCompactAt) return;
  buffer_.erase(0, start_);
  readIndex_ = -1;
  start_ = 0;
}

bool NormalizingReader::Fill(size_t n) {
  DiscardConsumedWhenMany();
  while (static_cast<ptrdiff_t>(buffer_.size()) <= readIndex_ + static_cast<ptrdiff_t>(n)) {
    if (!ReadChunk()) break;
  }
  return readIndex_ + static_cast<ptrdiff_t>(n) < static_cast<ptrdiff_t>(buffer_.size());
}

bool NormalizingReader::ReadChunk() {
  if (ended_ || stream_ == nullptr) {
    FlushPending();
    return false;
  }
  char16_t raw[kChunkUnits];
  uint32_t got = stream_->Read(raw, kChunkUnits);
  // A host stream that claims more than it was asked for would have the
  // reader take memory past its buffer for text: its count cannot be trusted.
  if (got > kChunkUnits) {
    throw RuntimeError(u"Input stream returned %u code units where at most %u were asked for", got,
                       static_cast<uint32_t>(kChunkUnits));
  }
  if (got == 0) {
    ended_ = true;
    FlushPending();
    return false;
  }
  std::u16string_view chunk(raw, got);
  if (atStart_) {
    size_t skip = 0;
    while (skip < chunk.size() && chunk[skip] == 0xFEFF) ++skip;
    chunk.remove_prefix(skip);
    if (chunk.empty()) return true;
    atStart_ = false;
    if (mode_ == Mode::Detect) {
      bool marked = chunk.size() >= kEncodedMarkerLength &&
                    chunk.substr(0, kEncodedMarkerLength) ==
                        std::u16string_view(kEncodedMarker, kEncodedMarkerLength);
      mode_ = marked ? Mode::Enciphered : Mode::Plain;
      if (marked) chunk.remove_prefix(kEncodedMarkerLength);
    }
    if (mode_ == Mode::Enciphered) decoder_ = std::make_unique<TransferDecoder>();
  }
  if (mode_ == Mode::Enciphered) {
    decoded_.clear();
    decoder_->Decode(chunk, decoded_);
    TakeChunk(decoded_);
  } else {
    TakeChunk(chunk);
  }
  return true;
}

// Normalisation can join a character with what follows it, so only the text
// up to the chunk's last inert character is normalised now. A chunk of inert
// units ends what is pending and is itself already normalised.
void NormalizingReader::TakeChunk(std::u16string_view chunk) {
  if (AllInert(chunk)) {
    FlushPending();
    buffer_.append(chunk);
    return;
  }
  int32_t end = static_cast<int32_t>(chunk.size());
  int32_t i = end;
  while (i > 0) {
    int32_t at = i;
    UChar32 c;
    U16_PREV(chunk.data(), 0, at, c);
    if (normalizer_->isInert(c)) break;
    i = at;
  }
  if (i == 0) {
    pending_.append(chunk.data(), end);
    if (static_cast<size_t>(pending_.length()) > kMaxPendingUnits) FlushPending();
    return;
  }
  pending_.append(chunk.data(), i);
  FlushPending();
  pending_.append(chunk.data() + i, end - i);
}

void NormalizingReader::FlushPending() {
  if (pending_.isEmpty()) return;
  UErrorCode status = U_ZERO_ERROR;
  if (normalizer_->isNormalized(pending_, status) && U_SUCCESS(status)) {
    buffer_.append(pending_.getBuffer(), pending_.length());
  } else {
    status = U_ZERO_ERROR;
    icu::UnicodeString normalized = normalizer_->normalize(pending_, status);
    buffer_.append(normalized.getBuffer(), normalized.length());
  }
  pending_.remove();
}

}  // namespace Nimbra::Lexora
