#include "engine/input/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "engine/input/charset_detector.h"

namespace Nimbra::Lexora {
namespace {

UConverter* TryOpen(const char* name) {
  if (name == nullptr || *name == 0) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name, &status);
  if (U_FAILURE(status)) {
    if (converter) ucnv_close(converter);
    return nullptr;
  }
  return converter;
}

// Opens a regular file for binary reading; null for anything else. The open
// does not wait, for a FIFO without a writer would block it; a FIFO, a
// device or a directory would read as an endless or an empty text.
FILE* OpenRegularFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status;
  // O_NONBLOCK has no effect on a regular file's reads: it may stay set.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return file;
}

}  // namespace

UConverter* OpenConverterForSample(const uint8_t* sample, size_t length, const char* hint,
                                   std::string* chosen) {
  char name[kEncodingNameCapacity];
  UConverter* converter = nullptr;
  const char* used = nullptr;
  if (SniffSignature(sample, length, name) && (converter = TryOpen(name))) {
    used = name;
  } else if ((converter = TryOpen(hint))) {
    used = hint;
  } else if (DetectCharset(sample, length, name) && (converter = TryOpen(name))) {
    used = name;
  } else if ((converter = TryOpen("ISO-8859-1"))) {
    used = "ISO-8859-1";
  }
  if (converter && chosen) *chosen = used;
  return converter;
}

FileStream::~FileStream() {
  Close();
}

void FileStream::Close() {
  if (converter_) ucnv_close(converter_);
  if (file_) std::fclose(file_);
  converter_ = nullptr;
  file_ = nullptr;
  read_ = end_ = buffer_;
  flushed_ = false;
  encoding_.clear();
}

bool FileStream::Open(const std::string& path, const char* hint) {
  Close();
  file_ = OpenRegularFile(path);
  if (file_ == nullptr) return false;
  if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
  uint8_t sample[kSampleSize];
  size_t length = std::fread(sample, 1, sizeof sample, file_);
  // A file that cannot be read is no empty text.
  if (std::ferror(file_)) return false;
  if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
  if (length == 0) return true;  // an empty file reads as empty, with no converter
  converter_ = OpenConverterForSample(sample, length, hint, &encoding_);
  return converter_ != nullptr;
}

void FileStream::Refill() {
  read_ = end_ = buffer_;
  if (file_ == nullptr || converter_ == nullptr || flushed_) return;
  size_t freeUnits = kBufferUnits;
  size_t minChar = static_cast<size_t>(ucnv_getMinCharSize(converter_));
  // Each input character yields at most two code units per minimum-size
  // unit of input, so this many bytes always decode into the free space.
  size_t want = std::min<size_t>(freeUnits / (2 * std::max<size_t>(minChar, 1)), kSampleSize);
  char bytes[kSampleSize];
  size_t got = std::fread(bytes, 1, want, file_);
  // A short read (end of file or a failing file) flushes the converter, so a
  // character cut off at the very end is still delivered as a substitute.
  bool atEnd = got < want;
  const char* source = bytes;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(converter_, &end_, buffer_ + kBufferUnits, &source, bytes + got, nullptr, atEnd,
                 &status);
  size_t unconsumed = static_cast<size_t>(bytes + got - source);
  if (unconsumed > 0) std::fseek(file_, -static_cast<long>(unconsumed), SEEK_CUR);
  if (atEnd) flushed_ = true;
}

uint32_t FileStream::Read(char16_t* buffer, uint32_t count) {
  if (buffer == nullptr) return 0;
  uint32_t delivered = 0;
  while (delivered < count) {
    if (read_ == end_) {
      Refill();
      if (read_ == end_ && flushed_) break;
      if (read_ == end_ && (file_ == nullptr || converter_ == nullptr)) break;
      if (read_ == end_) continue;  // bytes went into the converter's state only
    }
    uint32_t n = std::min<uint32_t>(count - delivered, static_cast<uint32_t>(end_ - read_));
    std::memcpy(buffer + delivered, read_, n * sizeof(char16_t));
    read_ += n;
    delivered += n;
  }
  return delivered;
}

}  // namespace Nimbra::Lexora
