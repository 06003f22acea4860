// A stream that decodes a file to UTF-16 through an ICU converter chosen from
// the file's first bytes.
#ifndef LEXORA_ENGINE_INPUT_FILE_STREAM_H
#define LEXORA_ENGINE_INPUT_FILE_STREAM_H

#include <cstdio>
#include <string>

#include <unicode/ucnv.h>

#include "engine/base/lx_object.h"
#include "engine/input/charset_sniffer.h"
#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

// The first bytes of a file, from which its encoding is chosen.
inline constexpr size_t kSampleSize = 4096;

// The converter a file stream opens for a sample: the signature, else the
// hint, else detection, else "ISO-8859-1"; names ICU cannot open are passed
// over. Null only when not even ISO-8859-1 opens. `chosen` receives the name.
UConverter* OpenConverterForSample(const uint8_t* sample, size_t length, const char* hint,
                                   std::string* chosen = nullptr);

class FileStream : public LXInterfaceObject<ILXStream> {
 public:
  FileStream() = default;
  ~FileStream() override;

  // Opens a file (UTF-8 path); false when it cannot be opened or positioned,
  // is not a regular file, or no converter opens. `hint` may be null or
  // empty.
  bool Open(const std::string& path, const char* hint);
  uint32_t Read(char16_t* buffer, uint32_t count) override;
  // The encoding chosen at opening (empty for an empty file).
  const std::string& encoding() const { return encoding_; }

 private:
  static constexpr size_t kBufferUnits = 4096;

  void Close();
  void Refill();

  FILE* file_ = nullptr;
  UConverter* converter_ = nullptr;
  std::string encoding_;
  bool flushed_ = false;
  char16_t buffer_[kBufferUnits];
  char16_t* read_ = buffer_;
  char16_t* end_ = buffer_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_FILE_STREAM_H
