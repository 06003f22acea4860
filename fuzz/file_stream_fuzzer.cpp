// Raw bytes in a file -> the four file-stream creators, with and without
// hints -> Read to the end (sniffing, detection, decoding). The detection's
// shortcuts must name what the full candidate list names, and a file read
// whole must decode as the same file read a block at a time.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/input/charset_detector.h"
#include "engine/input/file_stream.h"
#include "fuzz/fuzz_support.h"

namespace {

void DetectBothWays(const uint8_t* data, size_t size) {
  size_t length = std::min(size, Nimbra::Lexora::kSampleSize);
  char name[Nimbra::Lexora::kEncodingNameCapacity];
  bool found = Nimbra::Lexora::DetectCharset(data, length, name);
  Nimbra::Lexora::CharsetCandidateList list = Nimbra::Lexora::DetectCharsetCandidates(data, length);
  if (found == list.empty()) __builtin_trap();
  if (found && std::strcmp(name, Nimbra::Lexora::ConverterNameOf(list[0].name)) != 0) {
    __builtin_trap();
  }
}

std::u16string ReadInBlocks(const std::string& path, size_t blockBytes, std::string& encoding) {
  auto* stream = new Nimbra::Lexora::FileStream(blockBytes);
  std::u16string text;
  if (stream->Open(path, nullptr)) {
    char16_t buffer[333];
    while (uint32_t n = stream->Read(buffer, 333)) text.append(buffer, n);
  }
  encoding = stream->encoding();
  stream->Release();
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lexora_fuzz::Library library;
  static const std::string path = "/tmp/lexora_fuzz_" + std::to_string(getpid()) + ".bin";
  static const std::u16string widePath(path.begin(), path.end());
  DetectBothWays(data, size);
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
  std::string wholeEncoding, blockEncoding;
  std::u16string whole = ReadInBlocks(path, Nimbra::Lexora::FileStream::kBlockBytes, wholeEncoding);
  std::u16string blocks = ReadInBlocks(path, Nimbra::Lexora::kSampleSize, blockEncoding);
  if (whole != blocks || wholeEncoding != blockEncoding) __builtin_trap();
  return 0;
}
