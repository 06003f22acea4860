#include "engine/diag/signal_safe_text.h"

#include <unistd.h>

#include <cerrno>

namespace Nimbra::Lexora {

SignalSafeText& SignalSafeText::Add(const char* text, size_t length) {
  for (size_t i = 0; i < length && size_ < kCapacity; ++i) buffer_[size_++] = text[i];
  return *this;
}

SignalSafeText& SignalSafeText::Add(const char* text) {
  while (text != nullptr && *text != 0 && size_ < kCapacity) buffer_[size_++] = *text++;
  return *this;
}

SignalSafeText& SignalSafeText::Decimal(int64_t value) {
  char digits[24];
  int count = 0;
  // Negating in unsigned arithmetic keeps INT64_MIN defined.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) Add("-");
  while (count > 0) Add(&digits[--count], 1);
  return *this;
}

SignalSafeText& SignalSafeText::Hex(uint64_t value, int digits) {
  char text[16];
  int count = 0;
  do {
    text[count++] = "0123456789abcdef"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (count < digits && count < 16) text[count++] = '0';
  while (count > 0) Add(&text[--count], 1);
  return *this;
}

const char* SignalSafeText::c_str() {
  buffer_[size_] = 0;
  return buffer_;
}

bool SignalSafeText::FlushTo(int fd) {
  size_t done = 0;
  bool ok = true;
  while (done < size_) {
    ssize_t n = write(fd, buffer_ + done, size_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  size_ = 0;
  return ok;
}

}  // namespace Nimbra::Lexora
