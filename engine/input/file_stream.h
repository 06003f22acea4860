// A stream that decodes a file to UTF-16 through an ICU converter chosen from
// the file's first bytes.
#ifndef LEXORA_ENGINE_INPUT_FILE_STREAM_H
#define LEXORA_ENGINE_INPUT_FILE_STREAM_H

#include <unicode/ucnv.h>

#include <cstdint>
#include <memory>
#include <string>

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
  // A file up to this size is read whole, with one read; a larger one a
  // block of this size at a time, so memory stays bounded.
  static constexpr size_t kBlockBytes = 256 * 1024;

  // `blockBytes` (at least kSampleSize) lets tests cut files into blocks.
  explicit FileStream(size_t blockBytes = kBlockBytes);
  ~FileStream() override;

  // Opens a file (UTF-8 path); false when it cannot be opened or read, is
  // not a regular file, or no converter opens. `hint` may be null or empty.
  bool Open(const std::string& path, const char* hint);
  uint32_t Read(char16_t* buffer, uint32_t count) override;
  // The encoding chosen at opening (empty for an empty file).
  const std::string& encoding() const { return encoding_; }

 private:
  static constexpr size_t kBufferUnits = 4096;

  void Close();
  // Reads the next block of the file; false when the read failed.
  bool ReadBlock();
  // Decodes what the block holds into the unit buffer, reading the next
  // block first when this one is used up.
  void Refill();
  uint32_t ReadWidened(char16_t* buffer, uint32_t count);

  const size_t blockLimit_;
  int file_ = -1;
  uint64_t size_ = 0;  // as the file said at opening
  uint64_t offset_ = 0;
  std::unique_ptr<char[]> block_;
  size_t blockCapacity_ = 0;
  size_t next_ = 0;         // the first byte of the block not yet decoded
  size_t filled_ = 0;       // the bytes the block holds
  bool lastBlock_ = false;  // no bytes follow the block's
  UConverter* converter_ = nullptr;
  // ISO-8859-1 gives each byte as the code unit of the same value, which a
  // plain widening delivers without the converter.
  bool widen_ = false;
  std::string encoding_;
  bool flushed_ = false;
  char16_t buffer_[kBufferUnits];
  char16_t* read_ = buffer_;
  char16_t* end_ = buffer_;
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_FILE_STREAM_H
