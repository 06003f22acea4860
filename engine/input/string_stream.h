// In-memory streams over UTF-16 text.
#ifndef LEXORA_ENGINE_INPUT_STRING_STREAM_H
#define LEXORA_ENGINE_INPUT_STRING_STREAM_H

#include <cstdint>
#include <memory>

#include "engine/base/lx_object.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

class StringStreamBase : public LXInterfaceObject<ILXStream> {
 public:
  uint32_t Read(char16_t* buffer, uint32_t count) override;

 protected:
  StringStreamBase(const char16_t* text, uint32_t length) : text_(text), length_(length) {}
  void Rebind(const char16_t* text) { text_ = text; }

 private:
  const char16_t* text_;
  uint32_t length_;
  uint32_t position_ = 0;
};

// Reads the caller's text, which must outlive the stream.
class StringStream : public StringStreamBase {
 public:
  StringStream(const char16_t* text, uint32_t length) : StringStreamBase(text, length) {}
};

// Reads a private copy made at creation.
class StringCopyStream : public StringStreamBase {
 public:
  StringCopyStream(const char16_t* text, uint32_t length);

 private:
  std::unique_ptr<char16_t[]> copy_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_STRING_STREAM_H
