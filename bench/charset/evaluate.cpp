// Measures charset detection on samples cut from held-out texts: our
// detector, ICU's ucsdet and uchardet, on the same samples in one run.
// A detection is right when decoding with the detected name gives the same
// text as decoding with the true one.
//   evaluate HELDOUT_DIR [SAMPLES_PER_CELL [NAMES_FILE]]
// NAMES_FILE receives our detector's answer for each sample, one a line, so
// that two builds can be compared sample by sample.
#include <uchardet/uchardet.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/input/charset_detector.h"
#include "tools/charset-train/corpus_text.h"

namespace {

struct Target {
  const char* name;       // the row's label
  const char* converter;  // ICU's name for it
  std::vector<const char*> languages;
  bool visual;
};

const std::vector<const char*> kWestern = {"da", "de", "en", "es", "fr",
                                           "it", "nl", "no", "pt", "sv"};
const std::vector<const char*> kCentral = {"cs", "hu", "pl", "ro"};
std::vector<const char*> Joined(std::vector<const char*> a, const std::vector<const char*>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// Latin-script text in UTF-8 has few multi-byte characters per sample.
const std::vector<const char*> kEuropean = Joined(kWestern, kCentral);
const std::vector<const char*> kAll = {"de", "fr", "pl",    "ru", "el", "tr",
                                       "he", "ar", "zh_cn", "ja", "ko", "en"};

const std::vector<Target> kTargets = {
    {"ISO-8859-1", "ISO-8859-1", kWestern, false},
    {"Windows-1252", "windows-1252", kWestern, false},
    {"ISO-8859-2", "ISO-8859-2", kCentral, false},
    {"Windows-1250", "windows-1250", kCentral, false},
    {"ISO-8859-5", "ISO-8859-5", {"ru"}, false},
    {"Windows-1251", "windows-1251", {"ru"}, false},
    {"KOI8-R", "KOI8-R", {"ru"}, false},
    {"ISO-8859-6", "ISO-8859-6", {"ar"}, false},
    {"Windows-1256", "windows-1256", {"ar"}, false},
    {"ISO-8859-7", "ISO-8859-7", {"el"}, false},
    {"Windows-1253", "windows-1253", {"el"}, false},
    {"ISO-8859-8", "ISO-8859-8", {"he"}, true},
    {"ISO-8859-8-I", "ISO-8859-8-I", {"he"}, false},
    {"Windows-1255", "windows-1255", {"he"}, false},
    {"ISO-8859-9", "ISO-8859-9", {"tr"}, false},
    {"Windows-1254", "windows-1254", {"tr"}, false},
    {"IBM424_ltr", "IBM424", {"he"}, true},
    {"IBM424_rtl", "IBM424", {"he"}, false},
    {"ISO-2022-CN", "ISO-2022-CN", {"zh_cn"}, false},
    {"ISO-2022-JP", "ISO-2022-JP", {"ja"}, false},
    {"ISO-2022-KR", "ISO-2022-KR", {"ko"}, false},
    {"Big5", "Big5", {"zh_tw"}, false},
    {"EUC-JP", "EUC-JP", {"ja"}, false},
    {"EUC-KR", "EUC-KR", {"ko"}, false},
    {"GB18030", "GB18030", {"zh_cn"}, false},
    {"Shift_JIS", "Shift_JIS", {"ja"}, false},
    {"UTF-8", "UTF-8", kAll, false},
    {"UTF-16BE", "UTF-16BE", kAll, false},
    {"UTF-16LE", "UTF-16LE", kAll, false},
    // Last, so that the samples of the rows above stay those of earlier runs.
    {"UTF-8 European", "UTF-8", kEuropean, false},
};
const size_t kSizes[] = {64, 256, 1024, 4096};
constexpr int kDetectors = 3;
const char* const kDetectorNames[kDetectors] = {"lexora", "ICU", "uchardet"};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "evaluate: %s\n", message.c_str());
  std::exit(1);
}

icu::UnicodeString ReadText(const std::string& path) {
  std::optional<icu::UnicodeString> text = charset_corpus::ReadText(path);
  if (!text) Fail("cannot read " + path);
  return *text;
}

// Characters the charset cannot hold are left out.
std::string Encode(const icu::UnicodeString& text, const char* converterName) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(converterName, &status);
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SKIP, nullptr, nullptr, nullptr, &status);
  std::string out(static_cast<size_t>(text.length()) * 4 + 16, '\0');
  int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                              text.getBuffer(), text.length(), &status);
  ucnv_close(converter);
  if (U_FAILURE(status)) Fail(std::string("cannot encode to ") + converterName);
  out.resize(static_cast<size_t>(n));
  return out;
}

// The decoded text, or a marker when no converter of that name opens.
std::u16string Decode(const std::string& bytes, const std::string& name) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name.c_str(), &status);
  if (U_FAILURE(status) || name.empty()) return u"\uFFFF(no converter)";
  std::u16string out(bytes.size() * 2 + 16, u'\0');
  int32_t n = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                            static_cast<int32_t>(bytes.size()), &status);
  ucnv_close(converter);
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

// ICU names the EBCDIC Hebrew text orders but opens only IBM424; the same
// reading is applied to every detector.
std::string Openable(std::string name) {
  if (name == "IBM424_ltr" || name == "IBM424_rtl") return "IBM424";
  return name;
}

struct Sample {
  size_t target;
  size_t size;
  std::string bytes;
};

// Deterministic starting points.
uint64_t Next(uint64_t& state) {
  state = state * 6364136223846793005ull + 1442695040888963407ull;
  return state >> 33;
}

std::vector<Sample> MakeSamples(const std::string& dir, int perCell) {
  std::map<std::string, icu::UnicodeString> texts;
  std::vector<Sample> samples;
  uint64_t state = 12345;
  for (size_t t = 0; t < kTargets.size(); ++t) {
    const Target& target = kTargets[t];
    for (size_t size : kSizes) {
      for (int i = 0; i < perCell; ++i) {
        const char* language = target.languages[static_cast<size_t>(i) % target.languages.size()];
        auto it = texts.find(language);
        if (it == texts.end()) {
          it = texts.emplace(language, ReadText(dir + "/" + language + ".txt")).first;
        }
        icu::UnicodeString text = it->second;
        // Short held-out texts are read round and round.
        int32_t want = static_cast<int32_t>(size) * 2;
        while (text.length() < want + 16) text.append(u'\n').append(it->second);
        int32_t start =
            static_cast<int32_t>(Next(state) % static_cast<uint64_t>(text.length() - want));
        start = text.getChar32Start(start);
        icu::UnicodeString piece(text, start, want);
        if (target.visual) piece = charset_corpus::Visual(piece);
        // The longest prefix whose encoding fits the size.
        int32_t low = 0;
        int32_t high = piece.length();
        std::string best;
        while (low < high) {
          int32_t middle = (low + high + 1) / 2;
          std::string bytes = Encode(icu::UnicodeString(piece, 0, middle), target.converter);
          if (bytes.size() <= size) {
            low = middle;
            best = bytes;
          } else {
            high = middle - 1;
          }
        }
        samples.push_back({t, size, best});
      }
    }
  }
  return samples;
}

std::string DetectLexora(const std::string& bytes) {
  char name[Nimbra::Lexora::kEncodingNameCapacity];
  if (!Nimbra::Lexora::DetectCharset(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                     name)) {
    return "";
  }
  return name;
}

std::string DetectIcu(UCharsetDetector* detector, const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  ucsdet_setText(detector, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  const UCharsetMatch* match = ucsdet_detect(detector, &status);
  if (U_FAILURE(status) || match == nullptr) return "";
  const char* name = ucsdet_getName(match, &status);
  return U_SUCCESS(status) && name ? name : "";
}

std::string DetectUchardet(uchardet_t detector, const std::string& bytes) {
  uchardet_reset(detector);
  uchardet_handle_data(detector, bytes.data(), bytes.size());
  uchardet_data_end(detector);
  const char* name = uchardet_get_charset(detector);
  return name ? name : "";
}

struct Tally {
  int right = 0;
  int total = 0;
  void Add(bool ok) {
    right += ok;
    ++total;
  }
  double Percent() const { return total ? 100.0 * right / total : 0; }
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) Fail("usage: evaluate HELDOUT_DIR [SAMPLES_PER_CELL [NAMES_FILE]]");
  int perCell = argc > 2 ? std::atoi(argv[2]) : 60;
  std::vector<Sample> samples = MakeSamples(argv[1], perCell);
  std::ofstream names;
  if (argc > 3) {
    names.open(argv[3]);
    if (!names) Fail(std::string("cannot write ") + argv[3]);
  }

  UErrorCode status = U_ZERO_ERROR;
  UCharsetDetector* icu = ucsdet_open(&status);
  uchardet_t uchardet = uchardet_new();
  std::map<std::pair<size_t, size_t>, Tally> cells[kDetectors];  // (target, size)
  std::vector<double> micros[kDetectors];                        // per 4 KB sample
  std::map<size_t, std::vector<double>> ourMicros;               // per 4 KB sample, by target
  std::map<std::string, int> misses[kDetectors];
  int falseUtf8[kDetectors] = {};  // samples of other charsets named UTF-8 wrongly
  int otherSamples = 0;            // samples of charsets other than UTF-8
  using Clock = std::chrono::steady_clock;
  for (const Sample& s : samples) {
    std::u16string truth = Decode(s.bytes, kTargets[s.target].converter);
    for (int d = 0; d < kDetectors; ++d) {
      std::string name;
      double best = 1e30;
      // Our detector is timed over five runs (the fastest counts); the
      // others once, they take long enough.
      for (int run = 0; run < (d == 0 ? 5 : 1); ++run) {
        auto start = Clock::now();
        name = d == 0   ? DetectLexora(s.bytes)
               : d == 1 ? DetectIcu(icu, s.bytes)
                        : DetectUchardet(uchardet, s.bytes);
        best =
            std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
      }
      if (s.size == 4096) micros[d].push_back(best);
      if (s.size == 4096 && d == 0) ourMicros[s.target].push_back(best);
      bool right = Decode(s.bytes, Openable(name)) == truth;
      cells[d][{s.target, s.size}].Add(right);
      bool otherCharset = std::strcmp(kTargets[s.target].converter, "UTF-8") != 0;
      falseUtf8[d] += otherCharset && !right && (name == "UTF-8" || name == "utf-8");
      otherSamples += otherCharset && d == 0;
      if (d == 0 && names.is_open()) {
        names << kTargets[s.target].name << '\t' << s.size << '\t' << name << '\t' << right << '\n';
      }
      if (!right && d == 0) ++misses[d][std::string(kTargets[s.target].name) + " -> " + name];
    }
  }
  ucsdet_close(icu);
  uchardet_delete(uchardet);

  std::printf("%zu samples: %d per encoding and size, sizes 64, 256, 1024, 4096 bytes\n\n",
              samples.size(), perCell);
  std::printf(
      "| encoding | lexora | ICU | uchardet | lexora >=1024 | ICU >=1024 | uchardet >=1024 | "
      "lexora us/4KB |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (size_t t = 0; t < kTargets.size(); ++t) {
    std::printf("| %s", kTargets[t].name);
    for (int large = 0; large < 2; ++large) {
      for (int d = 0; d < kDetectors; ++d) {
        Tally sum;
        for (size_t size : kSizes) {
          if (large && size < 1024) continue;
          const Tally& c = cells[d][{t, size}];
          sum.right += c.right;
          sum.total += c.total;
        }
        std::printf(" | %.1f", sum.Percent());
      }
    }
    std::printf(" | %.1f |\n", Median(ourMicros[t]));
  }
  std::printf("\n| size | lexora | ICU | uchardet |\n|---|---|---|---|\n");
  Tally overall[kDetectors];
  for (size_t size : kSizes) {
    std::printf("| %zu", size);
    for (int d = 0; d < kDetectors; ++d) {
      Tally sum;
      for (size_t t = 0; t < kTargets.size(); ++t) {
        const Tally& c = cells[d][{t, size}];
        sum.right += c.right;
        sum.total += c.total;
      }
      overall[d].right += sum.right;
      overall[d].total += sum.total;
      std::printf(" | %.1f", sum.Percent());
    }
    std::printf(" |\n");
  }
  std::printf("| all");
  for (int d = 0; d < kDetectors; ++d) std::printf(" | %.1f", overall[d].Percent());
  std::printf(" |\n\ntime per 4 KB sample (microseconds, median / mean):\n");
  for (int d = 0; d < kDetectors; ++d) {
    double sum = 0;
    for (double m : micros[d]) sum += m;
    std::printf("  %-9s %8.1f / %8.1f\n", kDetectorNames[d], Median(micros[d]),
                micros[d].empty() ? 0 : sum / micros[d].size());
  }
  std::printf("\nsamples of other charsets named UTF-8 wrongly:");
  for (int d = 0; d < kDetectors; ++d) std::printf(" %s %d,", kDetectorNames[d], falseUtf8[d]);
  std::printf(" of %d\n", otherSamples);
  std::printf("\nlexora's most frequent misses (true -> detected):\n");
  std::vector<std::pair<int, std::string>> worst;
  for (auto& [what, n] : misses[0]) worst.push_back({-n, what});
  std::sort(worst.begin(), worst.end());
  for (size_t i = 0; i < worst.size() && i < 25; ++i) {
    std::printf("  %4d  %s\n", -worst[i].first, worst[i].second.c_str());
  }
  return 0;
}
