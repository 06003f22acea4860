#include "engine/input/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// Opens a regular file for reading and gives its size; -1 for anything else.
// The open does not wait, for a FIFO without a writer would block it; a
// FIFO, a device or a directory would read as an endless or an empty text.
// O_NONBLOCK has no effect on a regular file's reads: it may stay set.
int OpenRegularFile(const std::string& path, uint64_t& size) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat status;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return -1;
  }
  size = static_cast<uint64_t>(status.st_size);
  return fd;
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

FileStream::FileStream(size_t blockBytes) : blockLimit_(std::max(blockBytes, kSampleSize)) {}

FileStream::~FileStream() {
  Close();
}

void FileStream::Close() {
  if (converter_) ucnv_close(converter_);
  if (file_ >= 0) ::close(file_);
  converter_ = nullptr;
  file_ = -1;
  size_ = offset_ = 0;
  next_ = filled_ = 0;
  lastBlock_ = widen_ = flushed_ = false;
  read_ = end_ = buffer_;
  encoding_.clear();
}

bool FileStream::ReadBlock() {
  next_ = filled_ = 0;
  bool failed = false;
  while (filled_ < blockCapacity_) {
    ssize_t got = ::read(file_, block_.get() + filled_, blockCapacity_ - filled_);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      failed = got < 0;
      break;
    }
    filled_ += static_cast<size_t>(got);
    // Short of the block but at the size the file had: that is its end,
    // and the read that would say so need not be made. (Files that say 0,
    // as many in /proc do, are read until a read gives nothing.)
    if (size_ > 0 && offset_ + filled_ >= size_) break;
  }
  offset_ += filled_;
  // A failed read ends the input, as the end of the file does.
  lastBlock_ = failed || filled_ < blockCapacity_;
  if (lastBlock_ && file_ >= 0) {
    ::close(file_);
    file_ = -1;
  }
  return !failed;
}

bool FileStream::Open(const std::string& path, const char* hint) {
  Close();
  file_ = OpenRegularFile(path, size_);
  if (file_ < 0) return false;
  // One more byte than the file has shows its end without another read.
  blockCapacity_ = static_cast<size_t>(
      std::clamp<uint64_t>(size_ + 1, kSampleSize, static_cast<uint64_t>(blockLimit_)));
  block_.reset(new (std::nothrow) char[blockCapacity_]);
  if (!block_) return false;
  // A file that cannot be read is no empty text.
  if (!ReadBlock()) return false;
  if (filled_ == 0) return true;  // an empty file reads as empty, with no converter
  // The block starts with the sample: decoding starts from byte 0 of it.
  converter_ = OpenConverterForSample(reinterpret_cast<const uint8_t*>(block_.get()),
                                      std::min(filled_, kSampleSize), hint, &encoding_);
  if (converter_ == nullptr) return false;
  UErrorCode status = U_ZERO_ERROR;
  widen_ = std::strcmp(ucnv_getName(converter_, &status), "ISO-8859-1") == 0 && U_SUCCESS(status);
  return true;
}

void FileStream::Refill() {
  read_ = end_ = buffer_;
  if (converter_ == nullptr || flushed_) return;
  if (next_ == filled_ && !lastBlock_) ReadBlock();
  const char* source = block_.get() + next_;
  const char* sourceEnd = block_.get() + filled_;
  // With the last block every byte left is at hand: flushing then delivers
  // a character cut off at the very end as a substitute.
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(converter_, &end_, buffer_ + kBufferUnits, &source, sourceEnd, nullptr, lastBlock_,
                 &status);
  next_ = static_cast<size_t>(source - block_.get());
  // A full unit buffer may leave decoded text inside the converter.
  if (lastBlock_ && source == sourceEnd && status != U_BUFFER_OVERFLOW_ERROR) flushed_ = true;
}

uint32_t FileStream::ReadWidened(char16_t* buffer, uint32_t count) {
  uint32_t delivered = 0;
  while (delivered < count) {
    if (next_ == filled_) {
      if (lastBlock_) break;
      ReadBlock();
      if (filled_ == 0) break;
    }
    size_t n = std::min<size_t>(count - delivered, filled_ - next_);
    const auto* bytes = reinterpret_cast<const uint8_t*>(block_.get() + next_);
    char16_t* out = buffer + delivered;
    for (size_t i = 0; i < n; ++i) out[i] = bytes[i];
    next_ += n;
    delivered += static_cast<uint32_t>(n);
  }
  return delivered;
}

uint32_t FileStream::Read(char16_t* buffer, uint32_t count) {
  if (buffer == nullptr || converter_ == nullptr) return 0;
  if (widen_) return ReadWidened(buffer, count);
  uint32_t delivered = 0;
  while (delivered < count) {
    if (read_ == end_) {
      Refill();
      if (read_ == end_ && flushed_) break;
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
