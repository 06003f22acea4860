// Raw bytes in a file -> the four file-stream creators, with and without
// hints -> Read to the end (sniffing, detection, decoding).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lexora_fuzz::Library library;
  static const std::string path = "/tmp/lexora_fuzz_" + std::to_string(getpid()) + ".bin";
  static const std::u16string widePath(path.begin(), path.end());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  const char* hint =
      size > 0 && data[0] % 3 == 0 ? "UTF-16BE" : (size > 0 && data[0] % 3 == 1 ? "bogus" : "");
  ILXStream* streams[] = {CreateFileStream(path.c_str()), CreateFileStreamU(widePath.c_str()),
                          CreateFileStreamWithEncoding(path.c_str(), hint),
                          CreateFileStreamWithEncodingU(widePath.c_str(), hint)};
  char16_t buffer[777];
  for (ILXStream* s : streams) {
    if (!s) continue;
    while (s->Read(buffer, 777) != 0) {
    }
    s->Release();
  }
  return 0;
}
