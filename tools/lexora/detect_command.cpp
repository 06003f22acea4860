// lexora detect: names the encoding the file stream would choose for a file.
#include <unicode/ucnv.h>

#include <cstdio>
#include <memory>
#include <string>

#include "engine/input/charset_detector.h"
#include "engine/input/file_stream.h"
#include "tools/lexora/commands.h"

namespace lexora_cli {
namespace {

struct CloseFile {
  void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

int RunDetect(const Arguments& args) {
  bool verbose = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "-v") {
      verbose = true;
    } else if (!a.empty() && a[0] == '-') {
      return UsageError("detect", "unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return UsageError("detect", "no file given");
  int status = 0;
  for (const std::string& path : files) {
    std::unique_ptr<FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
      std::fprintf(stderr, "lexora detect: %s: cannot open\n", path.c_str());
      status = 1;
      continue;
    }
    uint8_t sample[Nimbra::Lexora::kSampleSize];
    size_t length = std::fread(sample, 1, sizeof sample, file.get());
    if (std::ferror(file.get())) {
      std::fprintf(stderr, "lexora detect: %s: cannot read\n", path.c_str());
      status = 1;
      continue;
    }
    std::string chosen;
    UConverter* converter =
        Nimbra::Lexora::OpenConverterForSample(sample, length, nullptr, &chosen);
    if (converter == nullptr) {
      std::fprintf(stderr, "lexora detect: %s: no converter opens\n", path.c_str());
      status = 1;
      continue;
    }
    ucnv_close(converter);
    std::printf("%s: %s\n", path.c_str(), chosen.c_str());
    if (!verbose) continue;
    for (const auto& c : Nimbra::Lexora::DetectCharsetCandidates(sample, length)) {
      std::printf("  %-12s confidence %3d  weight %5d\n", c.name, c.confidence, c.weight);
    }
  }
  return status;
}

}  // namespace lexora_cli
