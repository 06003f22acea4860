#include "python/src/memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace lexora_python {

MemoryFile::MemoryFile(const void* data, size_t size) {
  descriptor_ = memfd_create("lexora-bytes", MFD_CLOEXEC);
  if (descriptor_ < 0) throw std::system_error(errno, std::generic_category(), "memfd_create");
  const char* next = static_cast<const char*>(data);
  for (size_t left = size; left > 0;) {
    ssize_t written = write(descriptor_, next, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      int error = errno;
      close(descriptor_);
      throw std::system_error(error, std::generic_category(), "writing bytes to memory");
    }
    next += written;
    left -= static_cast<size_t>(written);
  }
  path_ = "/proc/self/fd/" + std::to_string(descriptor_);
}

MemoryFile::~MemoryFile() {
  close(descriptor_);
}

}  // namespace lexora_python
