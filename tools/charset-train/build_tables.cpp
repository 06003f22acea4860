// Builds the charset detector's trained data from plain UTF-8 texts:
// character maps, trigram tables, common-character bitmaps and the set of
// valid code points. Deterministic: the same texts give the same bytes.
//   build_tables TEXT_DIR OUT_DIR   (TEXT_DIR holds LANG.txt files)
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "corpus_text.h"
#include "engine/input/charset/trigram_table.h"

namespace {

using Nimbra::Lexora::kTrigramBitmapOffset;
using Nimbra::Lexora::kTrigramMaxBitmaps;
using Nimbra::Lexora::kTrigramMaxRows;
using Nimbra::Lexora::kTrigramTableSize;
using Nimbra::Lexora::TrigramTableKnows;

constexpr size_t kMaxCorpusChars = 1000000;
// A trigram is worth knowing when it is this much more frequent in its
// language than in any competing text, per trigram of text.
constexpr double kCompetitorFactor = 1.5;
constexpr double kMinimumGain = 2e-6;
// A trigram seen fewer times than this in a small training text is noise.
constexpr double kMinimumOccurrences = 3;
constexpr double kCommonCoverage = 0.5;  // share of double-byte text the common set covers
constexpr size_t kMaxCommonChars = 600;

using Bytes = std::string;
using Counts = std::unordered_map<uint32_t, double>;  // trigram key -> share of trigrams

struct CharMapSource {
  const char* file;
  const char* iso;  // decodes 00-7F and A0-FF
  const char* c1;   // decodes 80-9F, or null when they are controls
  uint8_t space;
};

const CharMapSource kMaps[] = {
    {"latin1", "ISO-8859-1", "windows-1252", 0x20},
    {"latin2", "ISO-8859-2", "windows-1250", 0x20},
    {"iso_8859_5", "ISO-8859-5", nullptr, 0x20},
    {"iso_8859_6", "ISO-8859-6", nullptr, 0x20},
    {"iso_8859_7", "ISO-8859-7", "windows-1253", 0x20},
    {"iso_8859_8", "ISO-8859-8", "windows-1255", 0x20},
    {"iso_8859_9", "ISO-8859-9", "windows-1254", 0x20},
    {"windows_1251", "windows-1251", "windows-1251", 0x20},
    {"windows_1256", "windows-1256", "windows-1256", 0x20},
    {"koi8_r", "KOI8-R", nullptr, 0x20},
    {"ibm424", "ibm-424", nullptr, 0x40},
};

struct TableSource {
  const char* file;
  const char* language;
  size_t map;  // index into kMaps
  std::vector<const char*> encodings;
  bool visual;  // lines stored in display order (reversed)
};

const std::vector<TableSource> kTables = {
    {"da", "da", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"de", "de", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"en", "en", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"es", "es", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"fr", "fr", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"it", "it", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"nl", "nl", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"no", "no", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"pt", "pt", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"sv", "sv", 0, {"ISO-8859-1", "windows-1252"}, false},
    {"cs", "cs", 1, {"ISO-8859-2", "windows-1250"}, false},
    {"hu", "hu", 1, {"ISO-8859-2", "windows-1250"}, false},
    {"pl", "pl", 1, {"ISO-8859-2", "windows-1250"}, false},
    {"ro", "ro", 1, {"ISO-8859-2", "windows-1250"}, false},
    {"ru_iso_8859_5", "ru", 2, {"ISO-8859-5"}, false},
    {"ar_iso_8859_6", "ar", 3, {"ISO-8859-6"}, false},
    {"el", "el", 4, {"ISO-8859-7", "windows-1253"}, false},
    {"he_visual", "he", 5, {"ISO-8859-8", "windows-1255"}, true},
    {"he_logical", "he", 5, {"ISO-8859-8", "windows-1255"}, false},
    {"tr", "tr", 6, {"ISO-8859-9", "windows-1254"}, false},
    {"ru_windows_1251", "ru", 7, {"windows-1251"}, false},
    {"ar_windows_1256", "ar", 8, {"windows-1256"}, false},
    {"ru_koi8_r", "ru", 9, {"KOI8-R"}, false},
    {"he_ibm424_visual", "he", 10, {"ibm-424"}, true},
    {"he_ibm424_logical", "he", 10, {"ibm-424"}, false},
};

struct CommonSource {
  const char* file;
  const char* language;
  const char* encoding;
};

const CommonSource kCommons[] = {
    {"big5", "zh_tw", "Big5"},       {"euc_jp", "ja", "EUC-JP"},       {"euc_kr", "ko", "EUC-KR"},
    {"gb18030", "zh_cn", "GB18030"}, {"shift_jis", "ja", "Shift_JIS"},
};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "build_tables: %s\n", message.c_str());
  std::exit(1);
}

icu::UnicodeString ReadText(const std::string& dir, const std::string& language) {
  std::optional<icu::UnicodeString> text = charset_corpus::ReadText(dir + "/" + language + ".txt");
  if (!text) Fail("cannot read " + dir + "/" + language + ".txt");
  if (text->length() > static_cast<int32_t>(kMaxCorpusChars)) text->truncate(kMaxCorpusChars);
  return *text;
}

Bytes Encode(const icu::UnicodeString& text, const char* encoding) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(encoding, &status);
  if (U_FAILURE(status)) Fail(std::string("no converter ") + encoding);
  Bytes out(static_cast<size_t>(text.length()) * 4 + 16, '\0');
  int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                              text.getBuffer(), text.length(), &status);
  ucnv_close(converter);
  if (U_FAILURE(status)) Fail(std::string("cannot encode to ") + encoding);
  out.resize(static_cast<size_t>(n));
  return out;
}

// The character decoded from one byte, or -1 when the byte is unassigned.
int32_t DecodeByte(const char* encoding, uint8_t byte) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(encoding, &status);
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  UChar out[4];
  char in = static_cast<char>(byte);
  int32_t n = ucnv_toUChars(converter, out, 4, &in, 1, &status);
  ucnv_close(converter);
  if (U_FAILURE(status) || n != 1 || out[0] == 0xFFFD || out[0] == 0x1A) return -1;
  return out[0];
}

int32_t EncodeChar(const char* encoding, UChar32 c) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(encoding, &status);
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  UChar in[2];
  int32_t length = 0;
  U16_APPEND_UNSAFE(in, length, c);
  char out[8];
  int32_t n = ucnv_fromUChars(converter, out, 8, in, length, &status);
  ucnv_close(converter);
  if (U_FAILURE(status) || n != 1) return -1;
  return static_cast<uint8_t>(out[0]);
}

// Letters map to their lower-case form in the same code page, other
// assigned bytes to the space (see below), unassigned bytes to 0.
std::array<uint8_t, 256> BuildCharMap(const CharMapSource& source) {
  std::array<uint8_t, 256> map{};
  for (int b = 1; b < 256; ++b) {
    const char* encoding = (b >= 0x80 && b <= 0x9F && source.c1) ? source.c1 : source.iso;
    int32_t c = DecodeByte(encoding, static_cast<uint8_t>(b));
    if (c < 0) continue;
    if (!u_isalpha(c)) {
      // In the ASCII-based code pages only ASCII non-letters read as space,
      // the rest as 0: they then all drop the same bytes as repeated
      // spaces, and the detector does that once for all of them.
      map[b] = b < 0x80 || source.space != 0x20 ? source.space : 0;
      continue;
    }
    UChar32 lower = u_tolower(c);
    int32_t mapped = EncodeChar(source.iso, lower);
    if (mapped < 0 && source.c1) mapped = EncodeChar(source.c1, lower);
    map[b] = mapped > 0 ? static_cast<uint8_t>(mapped) : static_cast<uint8_t>(b);
  }
  return map;
}

// The detector's own trigram walk: zero bytes ignored, runs of spaces
// counted once, trigrams starting with 0 not counted.
Counts CountTrigrams(const Bytes& bytes, const std::array<uint8_t, 256>& map, uint8_t space) {
  std::unordered_map<uint32_t, uint32_t> raw;
  uint32_t window = 0;
  uint64_t total = 0;
  for (unsigned char b : bytes) {
    if (b == 0) continue;
    uint32_t c = map[b];
    if (c == space && (window & 0xFF) == space) continue;
    window = (window << 8 | c) & 0xFFFFFF;
    if (window >> 16) {
      ++raw[window];
      ++total;
    }
  }
  Counts shares;
  for (auto [key, n] : raw) shares[key] = static_cast<double>(n) / std::max<uint64_t>(total, 1);
  return shares;
}

struct Corpus {
  std::string language;
  std::string encoding;
  bool visual;
  Bytes bytes;
};

// Packs the chosen trigrams into the table shape: pairs share at most
// kTrigramMaxBitmaps third-character bitmaps, chosen by repeated assignment and
// refitting (k-means over the gains).
std::vector<uint8_t> BuildTrigramTable(const Counts& own, const Counts& rival, double ownBytes) {
  double floor = std::max(kMinimumGain, kMinimumOccurrences / std::max(ownBytes, 1.0));
  // gain per pair and third character
  std::map<uint32_t, std::map<uint8_t, double>> gains;
  for (auto [key, share] : own) {
    if ((key >> 8 & 0xFF) == 0 || (key & 0xFF) == 0) continue;
    auto it = rival.find(key);
    double other = it == rival.end() ? 0.0 : it->second;
    double gain = share - kCompetitorFactor * other - floor;
    gains[key >> 8][static_cast<uint8_t>(key & 0xFF)] = gain;
  }
  // Pairs by their best possible total gain, heaviest first.
  std::vector<std::pair<double, uint32_t>> order;
  for (auto& [pair, row] : gains) {
    double best = 0;
    for (auto [c, g] : row) best += std::max(g, 0.0);
    if (best > 0) order.push_back({-best, pair});
  }
  std::sort(order.begin(), order.end());
  std::vector<std::array<bool, 256>> bitmaps;
  for (auto& [negative, pair] : order) {
    if (bitmaps.size() == kTrigramMaxBitmaps) break;
    std::array<bool, 256> bits{};
    for (auto [c, g] : gains[pair]) bits[c] = g > 0;
    if (std::find(bitmaps.begin(), bitmaps.end(), bits) == bitmaps.end()) bitmaps.push_back(bits);
  }
  std::map<uint32_t, size_t> assignment;  // pair -> bitmap index + 1
  for (int round = 0; round < 20; ++round) {
    assignment.clear();
    for (auto& [negative, pair] : order) {
      double best = 0;
      size_t chosen = 0;
      for (size_t k = 0; k < bitmaps.size(); ++k) {
        double score = 0;
        const auto& row = gains[pair];
        for (int c = 1; c < 256; ++c) {
          if (!bitmaps[k][c]) continue;
          auto it = row.find(static_cast<uint8_t>(c));
          score += it == row.end() ? -kMinimumGain : it->second;
        }
        if (score > best) best = score, chosen = k + 1;
      }
      if (chosen) assignment[pair] = chosen;
    }
    std::vector<std::array<double, 256>> sums(bitmaps.size());
    for (auto& s : sums) s.fill(0);
    for (auto [pair, k] : assignment) {
      for (int c = 1; c < 256; ++c) sums[k - 1][c] -= kMinimumGain;
      for (auto [c, g] : gains[pair]) sums[k - 1][c] += g + kMinimumGain;
    }
    for (size_t k = 0; k < bitmaps.size(); ++k) {
      for (int c = 1; c < 256; ++c) bitmaps[k][c] = sums[k][c] > 0;
    }
  }
  std::vector<uint8_t> table(kTrigramTableSize, 0);
  for (size_t k = 0; k < bitmaps.size(); ++k) {
    for (int c = 0; c < 256; ++c) {
      if (bitmaps[k][c]) table[kTrigramBitmapOffset + k * 32 + c / 8] |= 1 << (c % 8);
    }
  }
  size_t rows = 0;
  for (auto [pair, k] : assignment) {
    uint8_t a = static_cast<uint8_t>(pair >> 8);
    uint8_t b = static_cast<uint8_t>(pair);
    if (table[a] == 0) {
      if (rows == kTrigramMaxRows) continue;
      table[a] = static_cast<uint8_t>(++rows);
    }
    table[256 * table[a] + b] = static_cast<uint8_t>(k);
  }
  return table;
}

double Coverage(const std::vector<uint8_t>& table, const Counts& counts) {
  double known = 0;
  for (auto [key, share] : counts) known += TrigramTableKnows(table.data(), key) ? share : 0;
  return known;
}

void Write(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) Fail("cannot write " + path);
}

// Pairs (lead, trail) of the double-byte characters of an encoded text, in
// the byte structure common to the five charsets: a high byte and the next.
std::map<uint16_t, double> CountPairs(const Bytes& bytes) {
  std::map<uint16_t, double> pairs;
  uint64_t total = 0;
  for (size_t i = 0; i + 1 < bytes.size();) {
    uint8_t lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead == 0x8F && i + 2 < bytes.size()) ++i;  // EUC-JP three-byte: the last two bytes
    pairs[static_cast<uint16_t>(static_cast<uint8_t>(bytes[i]) << 8 |
                                static_cast<uint8_t>(bytes[i + 1]))] += 1;
    ++total;
    i += 2;
  }
  for (auto& [pair, n] : pairs) n /= std::max<uint64_t>(total, 1);
  return pairs;
}

std::vector<uint8_t> BuildCommonChars(const std::map<uint16_t, double>& own,
                                      const std::vector<std::map<uint16_t, double>>& rivals) {
  std::vector<std::pair<double, uint16_t>> ranked;
  for (auto [pair, share] : own) {
    if ((pair >> 8) < 0x81 || (pair & 0xFF) < 0x40) continue;
    double rival = 0;
    for (const auto& r : rivals) {
      auto it = r.find(pair);
      if (it != r.end()) rival = std::max(rival, it->second);
    }
    if (share > kCompetitorFactor * rival) ranked.push_back({-share, pair});
  }
  std::sort(ranked.begin(), ranked.end());
  std::vector<uint8_t> table(256, 0);
  double covered = 0;
  size_t taken = 0;
  for (auto [negative, pair] : ranked) {
    if (covered >= kCommonCoverage || taken == kMaxCommonChars) break;
    uint8_t lead = pair >> 8;
    uint8_t trail = pair & 0xFF;
    if (table[lead] == 0) {
      table[lead] = static_cast<uint8_t>((table.size() - 256) / 32 + 1);
      table.resize(table.size() + 32, 0);
    }
    table[256 + (table[lead] - 1) * 32 + trail / 8] |= 1 << (trail % 8);
    covered -= negative;
    ++taken;
  }
  std::printf("common %zu characters cover %.2f\n", taken, covered);
  return table;
}

bool IsValidCodePoint(UChar32 c) {
  if (!u_isdefined(c)) return false;
  switch (u_charType(c)) {
    case U_SURROGATE:
    case U_PRIVATE_USE_CHAR:
    case U_UNASSIGNED:
      return false;
    case U_CONTROL_CHAR:
      // Only the white-space controls occur in text.
      return (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x1F) || c == 0x85;
    default:
      return true;
  }
}

void WriteValidSet(const std::string& out) {
  std::vector<uint8_t> bmp(8192, 0);
  for (UChar32 c = 0; c <= 0xFFFF; ++c) {
    if (IsValidCodePoint(c)) bmp[c >> 3] |= 1 << (c & 7);
  }
  Write(out + "/valid_bmp.bin", bmp.data(), bmp.size());
  std::vector<uint8_t> ranges;
  auto put = [&ranges](uint32_t v) {
    for (int i = 0; i < 4; ++i) ranges.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  for (UChar32 c = 0x10000; c <= 0x10FFFF; ++c) {
    if (!IsValidCodePoint(c)) continue;
    UChar32 last = c;
    while (last < 0x10FFFF && IsValidCodePoint(last + 1)) ++last;
    put(static_cast<uint32_t>(c));
    put(static_cast<uint32_t>(last));
    c = last;
  }
  Write(out + "/valid_supplementary.bin", ranges.data(), ranges.size());
  std::printf("valid set: %zu supplementary ranges\n", ranges.size() / 8);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) Fail("usage: build_tables TEXT_DIR OUT_DIR");
  std::string textDir = argv[1];
  std::string out = argv[2];
  WriteValidSet(out);

  std::map<std::string, icu::UnicodeString> texts;
  auto text = [&](const std::string& language) -> const icu::UnicodeString& {
    auto it = texts.find(language);
    if (it == texts.end()) it = texts.emplace(language, ReadText(textDir, language)).first;
    return it->second;
  };
  // Every encoded training text; each table's rivals are the ones of the
  // other recognizers.
  std::vector<Corpus> corpora;
  for (const TableSource& t : kTables) {
    for (const char* e : t.encodings) {
      bool known = std::any_of(corpora.begin(), corpora.end(), [&](const Corpus& c) {
        return c.language == t.language && c.encoding == e && c.visual == t.visual;
      });
      if (known) continue;
      const icu::UnicodeString& u = text(t.language);
      corpora.push_back(
          {t.language, e, t.visual, Encode(t.visual ? charset_corpus::Visual(u) : u, e)});
    }
  }
  for (const CommonSource& c : kCommons) {
    corpora.push_back({c.language, c.encoding, false, Encode(text(c.language), c.encoding)});
  }

  for (size_t m = 0; m < std::size(kMaps); ++m) {
    std::array<uint8_t, 256> map = BuildCharMap(kMaps[m]);
    Write(out + "/map_" + kMaps[m].file + ".bin", map.data(), map.size());
    std::vector<Counts> counts;
    for (const Corpus& c : corpora) counts.push_back(CountTrigrams(c.bytes, map, kMaps[m].space));
    for (const TableSource& t : kTables) {
      if (t.map != m) continue;
      Counts own;
      Counts rival;
      double ownBytes = 0;
      for (size_t i = 0; i < corpora.size(); ++i) {
        const Corpus& c = corpora[i];
        // Texts in this table's encodings decode the same whatever this
        // recognizer says; every other text is a rival.
        bool sameDecoding =
            std::find_if(t.encodings.begin(), t.encodings.end(),
                         [&](const char* e) { return c.encoding == e; }) != t.encodings.end();
        bool mine = sameDecoding && c.language == t.language && c.visual == t.visual;
        if (sameDecoding && !mine) continue;
        if (mine) ownBytes += static_cast<double>(c.bytes.size());
        for (auto [key, share] : counts[i]) {
          if (mine) {
            own[key] += share / t.encodings.size();
          } else {
            double& r = rival[key];
            r = std::max(r, share);
          }
        }
      }
      std::vector<uint8_t> table = BuildTrigramTable(own, rival, ownBytes / t.encodings.size());
      Write(out + "/trigrams_" + t.file + ".bin", table.data(), table.size());
      double worst = 0;
      std::string worstName;
      for (size_t i = 0; i < corpora.size(); ++i) {
        if (corpora[i].language == t.language) continue;
        double cover = Coverage(table, counts[i]);
        if (cover > worst)
          worst = cover, worstName = corpora[i].language + "/" + corpora[i].encoding;
      }
      std::printf("%-18s own %.2f  best rival %.2f (%s)\n", t.file, Coverage(table, own), worst,
                  worstName.c_str());
    }
  }

  for (const CommonSource& c : kCommons) {
    std::map<uint16_t, double> own;
    std::vector<std::map<uint16_t, double>> rivals;
    for (const Corpus& corpus : corpora) {
      if (corpus.encoding == c.encoding && corpus.language == c.language) {
        own = CountPairs(corpus.bytes);
      } else if (corpus.language != c.language) {
        rivals.push_back(CountPairs(corpus.bytes));
      }
    }
    std::vector<uint8_t> table = BuildCommonChars(own, rivals);
    Write(out + "/common_" + c.file + ".bin", table.data(), table.size());
  }
  return 0;
}
