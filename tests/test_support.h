// Helpers shared by the engine's tests.
#ifndef LEXORA_TESTS_TEST_SUPPORT_H
#define LEXORA_TESTS_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "lexora2/lexora2.h"

namespace lexora_test {

// Keeps the library initialised for the lifetime of a test.
class Initialized {
 public:
  Initialized() { LXInitialize(); }
  ~Initialized() { LXCleanUp(); }
};

// A scratch file removed when the test ends.
class TempFile {
 public:
  explicit TempFile(std::string_view bytes, std::string_view suffix = ".txt");
  ~TempFile();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

struct ReleaseObject {
  void operator()(ILXObject* object) const {
    if (object) object->Release();
  }
};
using StreamPtr = std::unique_ptr<ILXStream, ReleaseObject>;

// A string stream over text that must outlive it; released however the
// test leaves its scope.
StreamPtr StringStreamOf(std::u16string_view text);

// Reads a stream to its end, count units at a time; releases it.
std::u16string ReadAll(ILXStream* stream, uint32_t count = 97);

// UTF-16 from UTF-8, for readable expectations.
std::u16string U16(std::string_view utf8);
std::string U8(std::u16string_view utf16);

}  // namespace lexora_test

#endif  // LEXORA_TESTS_TEST_SUPPORT_H
