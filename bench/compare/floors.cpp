#include "bench/compare/floors.h"

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace lexora_compare {
namespace {

using Converter = std::unique_ptr<UConverter, void (*)(UConverter*)>;

Converter OpenConverter(const char* charset) {
  UErrorCode status = U_ZERO_ERROR;
  Converter c(ucnv_open(charset, &status), ucnv_close);
  if (U_FAILURE(status)) throw std::runtime_error(std::string("no ICU converter for ") + charset);
  return c;
}

constexpr int32_t kChunkUnits = 128;

}  // namespace

Stats MeasureDecode(const Corpus& corpus, int runs) {
  Converter utf8 = OpenConverter("UTF-8");
  Converter latin1 = OpenConverter("ISO-8859-1");
  std::u16string buffer;
  size_t sink = 0;
  auto seconds = TimeRuns(runs, [&] {
    for (const Message& m : corpus.messages) {
      UConverter* c = m.utf8 ? utf8.get() : latin1.get();
      ucnv_resetToUnicode(c);
      buffer.resize(m.bytes.size() + 1);
      UErrorCode status = U_ZERO_ERROR;
      char16_t* target = buffer.data();
      const char* source = m.bytes.data();
      ucnv_toUnicode(c, &target, buffer.data() + buffer.size(), &source,
                     m.bytes.data() + m.bytes.size(), nullptr, true, &status);
      sink += static_cast<size_t>(target - buffer.data());
    }
  });
  if (sink == 0 && corpus.bytes) throw std::runtime_error("decoding produced nothing");
  return Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
}

Stats MeasureNfkd(const Corpus& corpus, int runs) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error("no ICU NFKD normaliser");
  icu::UnicodeString out;
  size_t sink = 0;
  auto seconds = TimeRuns(runs, [&] {
    for (const Message& m : corpus.messages) {
      const char16_t* p = m.text.data();
      int32_t left = static_cast<int32_t>(m.text.size());
      while (left > 0) {
        int32_t n = left < kChunkUnits ? left : kChunkUnits;
        const icu::UnicodeString chunk(false, p, n);
        nfkd->normalize(chunk, out, status);
        sink += static_cast<size_t>(out.length());
        p += n;
        left -= n;
      }
    }
  });
  if (U_FAILURE(status)) throw std::runtime_error("NFKD failed");
  if (sink == 0 && corpus.bytes) throw std::runtime_error("NFKD produced nothing");
  return Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
}

Stats MeasureFileReads(const Corpus& corpus, int runs) {
  std::string buffer;
  size_t sink = 0;
  auto seconds = TimeRuns(runs, [&] {
    for (const Message& m : corpus.messages) {
      int fd = open(m.path.c_str(), O_RDONLY);
      if (fd < 0) throw std::runtime_error("cannot open " + m.path);
      struct stat status;
      if (fstat(fd, &status) == 0) {
        buffer.resize(static_cast<size_t>(status.st_size) + 1);
        ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got > 0) sink += static_cast<size_t>(got);
      }
      close(fd);
    }
  });
  if (sink == 0 && corpus.bytes) throw std::runtime_error("reading the files gave nothing");
  return Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
}

Stats MeasureMemcpy(const Corpus& corpus, int runs) {
  std::string target(corpus.bytes, '\0');
  auto seconds = TimeRuns(runs, [&] {
    char* p = target.data();
    for (const Message& m : corpus.messages) {
      std::memcpy(p, m.bytes.data(), m.bytes.size());
      p += m.bytes.size();
    }
    // Keeps the copies from being optimised away.
    asm volatile("" : : "r"(target.data()) : "memory");
  });
  return Summarise(Throughputs(seconds, static_cast<double>(corpus.bytes)));
}

double SerialThroughput(double first, double second) {
  if (first <= 0 || second <= 0) return 0;
  return 1 / (1 / first + 1 / second);
}

}  // namespace lexora_compare
