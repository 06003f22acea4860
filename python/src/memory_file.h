// Bytes in memory as a file the engine's file streams can open, so that bytes
// are read exactly as a file of the same bytes would be.
#ifndef LEXORA_PYTHON_MEMORY_FILE_H
#define LEXORA_PYTHON_MEMORY_FILE_H

#include <cstddef>
#include <string>

namespace lexora_python {

class MemoryFile {
 public:
  // Throws std::system_error when the file cannot be made or filled.
  MemoryFile(const void* data, size_t size);
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // A path that opens the file while this object lives.
  const std::string& path() const { return path_; }

 private:
  int descriptor_ = -1;
  std::string path_;
};

}  // namespace lexora_python

#endif  // LEXORA_PYTHON_MEMORY_FILE_H
