#include "test_support.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <vector>

#include "engine/base/utf.h"

namespace lexora_test {

TempFile::TempFile(std::string_view bytes, std::string_view suffix) {
  static std::atomic<int> counter{0};
  path_ =
      (std::filesystem::temp_directory_path() / ("lexora_test_" + std::to_string(::getpid()) + "_" +
                                                 std::to_string(counter++) + std::string(suffix)))
          .string();
  std::ofstream out(path_, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFile::~TempFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

std::u16string ReadAll(ILXStream* stream, uint32_t count) {
  std::u16string text;
  if (stream == nullptr) return text;
  std::vector<char16_t> buffer(count);
  while (uint32_t n = stream->Read(buffer.data(), count)) text.append(buffer.data(), n);
  stream->Release();
  return text;
}

StreamPtr StringStreamOf(std::u16string_view text) {
  return StreamPtr(CreateStringStream(text.data(), static_cast<uint32_t>(text.size())));
}

std::u16string U16(std::string_view utf8) {
  return Nimbra::Lexora::Utf8ToUtf16(utf8);
}
std::string U8(std::u16string_view utf16) {
  return Nimbra::Lexora::Utf16ToUtf8(utf16);
}

}  // namespace lexora_test
