// Text built inside a fault handler: no allocation, no locale, no stdio,
// only a fixed buffer and write(2).
#ifndef LEXORA_ENGINE_DIAG_SIGNAL_SAFE_TEXT_H
#define LEXORA_ENGINE_DIAG_SIGNAL_SAFE_TEXT_H

#include <cstddef>
#include <cstdint>

namespace Nimbra::Lexora {

class SignalSafeText {
 public:
  static constexpr size_t kCapacity = 1024;

  // Text past the capacity is dropped, never written out of bounds.
  SignalSafeText& Add(const char* text);
  SignalSafeText& Add(const char* text, size_t length);
  SignalSafeText& Decimal(int64_t value);
  // Lower-case hexadecimal, zero-padded to at least `digits` digits.
  SignalSafeText& Hex(uint64_t value, int digits = 1);

  const char* data() const { return buffer_; }
  size_t size() const { return size_; }
  // A NUL-terminated view; the terminator does not count in size().
  const char* c_str();
  void Clear() { size_ = 0; }
  // Writes everything to `fd` and clears; false when a write failed.
  bool FlushTo(int fd);

 private:
  char buffer_[kCapacity + 1];
  size_t size_ = 0;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DIAG_SIGNAL_SAFE_TEXT_H
