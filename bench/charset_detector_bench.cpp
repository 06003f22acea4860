// Charset detection of one 4 KB sample, in the encodings whose recognizers
// do the most work: single-byte text runs every trigram pass, East Asian
// text every double-byte walk as well.
#include <benchmark/benchmark.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <string>

#include "engine/input/charset_detector.h"

using namespace Nimbra::Lexora;

namespace {

constexpr size_t kSampleBytes = 4096;

// A sentence repeated and encoded, cut to the sample size.
std::string Sample(const char* utf8, const char* charset) {
  icu::UnicodeString sentence = icu::UnicodeString::fromUTF8(utf8);
  icu::UnicodeString text;
  while (text.length() < static_cast<int32_t>(kSampleBytes)) text.append(sentence);
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(charset, &status);
  std::string out(kSampleBytes * 4, '\0');
  int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                              text.getBuffer(), text.length(), &status);
  ucnv_close(converter);
  out.resize(U_SUCCESS(status) ? std::min<size_t>(static_cast<size_t>(n), kSampleBytes) : 0);
  return out;
}

void Detect(benchmark::State& state, const std::string& sample) {
  char name[kEncodingNameCapacity];
  for (auto _ : state) {
    bool found =
        DetectCharset(reinterpret_cast<const uint8_t*>(sample.data()), sample.size(), name);
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sample.size()));
}

void BM_DetectFrenchLatin1(benchmark::State& state) {
  static const std::string sample = Sample(
      "Tous les êtres humains naissent libres et égaux en dignité et en droits. Ils sont doués "
      "de raison et de conscience et doivent agir les uns envers les autres dans un esprit de "
      "fraternité. ",
      "ISO-8859-1");
  Detect(state, sample);
}
BENCHMARK(BM_DetectFrenchLatin1);

void BM_DetectRussianKoi8(benchmark::State& state) {
  static const std::string sample = Sample(
      "Все люди рождаются свободными и равными в своем достоинстве и правах. Они наделены "
      "разумом и совестью и должны поступать в отношении друг друга в духе братства. ",
      "KOI8-R");
  Detect(state, sample);
}
BENCHMARK(BM_DetectRussianKoi8);

void BM_DetectJapaneseShiftJis(benchmark::State& state) {
  static const std::string sample = Sample(
      "すべての人間は、生まれながらにして自由であり、かつ、尊厳と権利とについて平等である。"
      "人間は、理性と良心とを授けられており、互いに同胞の精神をもって行動しなければならない。",
      "Shift_JIS");
  Detect(state, sample);
}
BENCHMARK(BM_DetectJapaneseShiftJis);

void BM_DetectEnglishAscii(benchmark::State& state) {
  static const std::string sample = Sample(
      "All human beings are born free and equal in dignity and rights. They are endowed with "
      "reason and conscience and should act towards one another in a spirit of brotherhood. ",
      "US-ASCII");
  Detect(state, sample);
}
BENCHMARK(BM_DetectEnglishAscii);

}  // namespace
