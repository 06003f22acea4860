#include "bench/script_generator.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <set>

namespace lexora_bench {

std::vector<std::string> LoadWordList() {
  std::vector<std::string> words;
  std::ifstream dict("/usr/share/dict/words");
  std::set<std::string> seen;
  for (std::string w; std::getline(dict, w);) {
    if (w.size() < 4 ||
        !std::all_of(w.begin(), w.end(), [](unsigned char c) { return std::islower(c); })) {
      continue;
    }
    if (seen.insert(w).second) words.push_back(w);
  }
  if (!words.empty()) return words;
  static const char* const kSyllables[] = {
      "ba", "ce", "di", "fo", "gu", "ha", "je", "ki", "lo",   "mu",   "na",   "pe", "qui",
      "ro", "su", "ta", "ve", "wi", "xo", "yu", "za", "ster", "tion", "ment", "ing"};
  std::mt19937 rng(7);
  while (words.size() < 60000) {
    std::string w;
    int n = 2 + static_cast<int>(rng() % 3);
    for (int k = 0; k < n; ++k) w += kSyllables[rng() % std::size(kSyllables)];
    if (seen.insert(w).second) words.push_back(w);
  }
  return words;
}

namespace {

std::u16string Widen(const std::string& s) {
  return std::u16string(s.begin(), s.end());
}

}  // namespace

std::u16string GenerateScript(const std::vector<std::string>& words, size_t statements) {
  std::mt19937 rng(11);
  // Spread the picks over the whole list so that bigger scripts hold more
  // distinct words.
  auto word = [&] { return Widen(words[rng() % words.size()]); };
  std::u16string script = u"[SCORE=30,NAME=Card] [CCARD]\n[SCORE=30] [US-SSN]\n";
  for (size_t i = 2; i < statements; ++i) {
    unsigned kind = rng() % 100;
    std::u16string line;
    if (kind < 70) {
      line = word();
    } else if (kind < 80) {
      line = u"\"" + word() + u" " + word() + (kind % 2 ? u" " + word() : u"") + u"\"";
    } else if (kind < 88) {
      std::u16string w = word();
      line = kind % 2 ? w.substr(0, 4) + u"*" : w.substr(0, 2) + u"?" + w.substr(3);
    } else if (kind < 93) {
      line = word() + u" NEAR=5 " + word();
    } else if (kind < 97) {
      line = word() + u" AND " + word();
    } else {
      line = word() + u" INSTANCES=2";
    }
    script += u"[SCORE=" + Widen(std::to_string(1 + rng() % 20)) + u"] " + line + u"\n";
  }
  return script;
}

std::u16string GenerateText(const std::vector<std::string>& words, size_t bytes) {
  std::mt19937 rng(13);
  static const char16_t* const kFiller[] = {u"the", u"and", u"of", u"to",   u"a",    u"in",
                                            u"is",  u"for", u"on", u"with", u"that", u"this"};
  std::u16string text;
  text.reserve(bytes);
  while (text.size() < bytes) {
    unsigned k = rng() % 100;
    if (k < 60) {
      text += kFiller[rng() % std::size(kFiller)];
    } else if (k < 98) {
      text += Widen(words[rng() % words.size()]);
    } else {
      text += u"4111 1111 1111 1111";
    }
    text += (k % 13 == 0) ? u".\n" : u" ";
  }
  return text;
}

}  // namespace lexora_bench

namespace lexora_bench {

ILXScript* CompileScript(const std::u16string& text) {
  ILXScript* script = CreateLXScript();
  ILXStream* stream = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
  bool ok = script->Compile(stream);
  stream->Release();
  if (!ok) {
    script->Release();
    return nullptr;
  }
  return script;
}

size_t LargestFittingScript(const std::vector<std::string>& words) {
  static size_t cached = 0;
  if (cached) return cached;
  auto fits = [&](size_t n) {
    ILXScript* s = CompileScript(GenerateScript(words, n));
    if (s) s->Release();
    return s != nullptr;
  };
  size_t low = 1000, high = 2000;
  while (fits(high)) {
    low = high;
    high *= 2;
  }
  while (high - low > 250) {
    size_t mid = (low + high) / 2;
    (fits(mid) ? low : high) = mid;
  }
  return cached = low;
}

}  // namespace lexora_bench
