#include "engine/input/string_stream.h"

#include <algorithm>
#include <cstring>

namespace Nimbra::Lexora {

uint32_t StringStreamBase::Read(char16_t* buffer, uint32_t count) {
  if (buffer == nullptr || text_ == nullptr || position_ >= length_) return 0;
  uint32_t n = std::min(count, length_ - position_);
  std::memcpy(buffer, text_ + position_, n * sizeof(char16_t));
  position_ += n;
  return n;
}

StringCopyStream::StringCopyStream(const char16_t* text, uint32_t length)
    : StringStreamBase(nullptr, length), copy_(new char16_t[length ? length : 1]) {
  if (length) std::memcpy(copy_.get(), text, length * sizeof(char16_t));
  Rebind(copy_.get());
}

}  // namespace Nimbra::Lexora
