#include "engine/input/charset_detector.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <string>
#include <vector>

#include "engine/input/file_stream.h"

using namespace Nimbra::Lexora;

namespace {

const uint8_t* Bytes(const std::string& s) {
  return reinterpret_cast<const uint8_t*>(s.data());
}

// The detected name, or "" when detection names nothing.
std::string Detect(const std::string& sample) {
  char name[kEncodingNameCapacity];
  return DetectCharset(Bytes(sample), sample.size(), name) ? name : "";
}

std::string Encode(const std::string& utf8, const char* charset) {
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(charset, &status);
  std::string out(utf8.size() * 4 + 16, '\0');
  int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                              text.getBuffer(), text.length(), &status);
  ucnv_close(converter);
  EXPECT_TRUE(U_SUCCESS(status)) << charset;
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

const CharsetCandidate* Find(const CharsetCandidateList& list, const std::string& name) {
  for (const CharsetCandidate& c : list) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

const char kGreek[] =
    "Όλοι οι άνθρωποι γεννιούνται ελεύθεροι και ίσοι στην αξιοπρέπεια και τα δικαιώματα. "
    "Είναι προικισμένοι με λογική και συνείδηση, και οφείλουν να συμπεριφέρονται μεταξύ τους "
    "με πνεύμα αδελφοσύνης.";
const char kTurkish[] =
    "Bütün insanlar hür, haysiyet ve haklar bakımından eşit doğarlar. Akıl ve vicdana "
    "sahiptirler ve birbirlerine karşı kardeşlik zihniyeti ile hareket etmelidirler.";
const char kRussian[] =
    "Все люди рождаются свободными и равными в своем достоинстве и правах. Они наделены "
    "разумом и совестью и должны поступать в отношении друг друга в духе братства.";
const char kJapanese[] =
    "すべての人間は、生まれながらにして自由であり、かつ、尊厳と権利とについて平等である。"
    "人間は、理性と良心とを授けられており、互いに同胞の精神をもって行動しなければならない。";
const char kKorean[] =
    "모든 인간은 태어날 때부터 자유로우며 그 존엄과 권리에 있어 동등하다. 인간은 천부적으로 "
    "이성과 양심을 부여받았으며 서로 형제애의 정신으로 행동하여야 한다.";
const char kSimplifiedChinese[] =
    "人人生而自由，在尊严和权利上一律平等。他们赋有理性和良心，并应以兄弟关系的精神相对待。"
    "人人有资格享有本宣言所载的一切权利和自由，不分种族、肤色、性别、语言、宗教、政治或其他见解。";
const char kTraditionalChinese[] =
    "人人生而自由，在尊嚴和權利上一律平等。他們賦有理性和良心，並應以兄弟關係的精神相對待。"
    "人人有資格享有本宣言所載的一切權利和自由，不分種族、膚色、性別、語言、宗教、政治或其他見解。";

TEST(CharsetDetectorTest, NothingToDetect) {
  char name[kEncodingNameCapacity];
  EXPECT_FALSE(DetectCharset(nullptr, 10, name));
  EXPECT_FALSE(DetectCharset(Bytes("x"), 0, name));
  // One zero byte: too many zeros for 7-bit text, too few bytes for anything else.
  EXPECT_EQ(Detect(std::string(1, '\0')), "");
  EXPECT_TRUE(DetectCharsetCandidates(Bytes(std::string(1, '\0')), 1).empty());
}

TEST(CharsetDetectorTest, PlainSevenBitTextIsLatin1) {
  std::string text = "A plain sentence, nothing but ASCII in it.";
  CharsetCandidateList list = DetectCharsetCandidates(Bytes(text), text.size());
  ASSERT_FALSE(list.empty());
  EXPECT_STREQ(list[0].name, "ISO-8859-1");
  // The 7-bit recognizer's candidate (weight 0) beside the single-byte one.
  bool sevenBit = false;
  for (const CharsetCandidate& c : list) {
    sevenBit |= c.weight == 0 && c.confidence == 75 && std::string(c.name) == "ISO-8859-1";
  }
  EXPECT_TRUE(sevenBit);
  const CharsetCandidate* utf8 = Find(list, "UTF-8");
  ASSERT_NE(utf8, nullptr);
  EXPECT_EQ(utf8->confidence, 20);
  EXPECT_EQ(Detect(text), "ISO-8859-1");
}

TEST(CharsetDetectorTest, Utf8OutranksEscapeSequences) {
  std::string text = "\x1B$B caf\xC3\xA9 na\xC3\xAFve r\xC3\xB4le \xC3\xA0 la carte";
  CharsetCandidateList list = DetectCharsetCandidates(Bytes(text), text.size());
  ASSERT_GE(list.size(), 2u);
  EXPECT_STREQ(list[0].name, "UTF-8");
  EXPECT_EQ(list[0].confidence, 100);
  EXPECT_EQ(list[0].weight, 100);
  const CharsetCandidate* jp = Find(list, "ISO-2022-JP");
  ASSERT_NE(jp, nullptr);
  EXPECT_EQ(jp->confidence, 100);
  EXPECT_EQ(jp->weight, 0);
}

TEST(CharsetDetectorTest, C1BytesChooseTheWindowsName) {
  // The quotation marks are C1 bytes in the Windows code pages.
  std::string greek = std::string("“") + kGreek + "”";
  EXPECT_EQ(Detect(Encode(greek, "windows-1253")), "Windows-1253");
  EXPECT_EQ(Detect(Encode(kGreek, "ISO-8859-7")), "ISO-8859-7");
  std::string turkish = std::string("“") + kTurkish + "”";
  EXPECT_EQ(Detect(Encode(turkish, "windows-1254")), "Windows-1254");
  EXPECT_EQ(Detect(Encode(kTurkish, "ISO-8859-9")), "ISO-8859-9");
}

TEST(CharsetDetectorTest, CyrillicCodePagesApart) {
  EXPECT_EQ(Detect(Encode(kRussian, "KOI8-R")), "KOI8-R");
  EXPECT_EQ(Detect(Encode(kRussian, "windows-1251")), "Windows-1251");
  EXPECT_EQ(Detect(Encode(kRussian, "ISO-8859-5")), "ISO-8859-5");
  EXPECT_EQ(Detect(Encode(kRussian, "UTF-8")), "UTF-8");
}

TEST(CharsetDetectorTest, EastAsianCharsets) {
  EXPECT_EQ(Detect(Encode(kJapanese, "Shift_JIS")), "Shift_JIS");
  EXPECT_EQ(Detect(Encode(kJapanese, "EUC-JP")), "EUC-JP");
  EXPECT_EQ(Detect(Encode(kJapanese, "ISO-2022-JP")), "ISO-2022-JP");
  EXPECT_EQ(Detect(Encode(kKorean, "EUC-KR")), "EUC-KR");
  EXPECT_EQ(Detect(Encode(kKorean, "ISO-2022-KR")), "ISO-2022-KR");
  EXPECT_EQ(Detect(Encode(kSimplifiedChinese, "GB18030")), "GB18030");
  EXPECT_EQ(Detect(Encode(kTraditionalChinese, "Big5")), "Big5");
}

TEST(CharsetDetectorTest, Utf16ByteOrders) {
  std::string text = "Plain words in sixteen-bit units.\n";
  EXPECT_EQ(Detect(Encode(text, "UTF-16BE")), "UTF-16BE");
  EXPECT_EQ(Detect(Encode(text, "UTF-16LE")), "UTF-16LE");
  std::string odd = Encode(text, "UTF-16LE") + "x";
  CharsetCandidateList list = DetectCharsetCandidates(Bytes(odd), odd.size());
  EXPECT_EQ(Find(list, "UTF-16LE"), nullptr);
  EXPECT_EQ(Find(list, "UTF-16BE"), nullptr);
}

// Detection stops running recognizers that can no longer win; it must name
// what the full, sorted candidate list puts first.
TEST(CharsetDetectorTest, DetectionAgreesWithTheFullList) {
  std::vector<std::string> samples;
  const char* texts[] = {kGreek,
                         kTurkish,
                         kRussian,
                         kJapanese,
                         kKorean,
                         kSimplifiedChinese,
                         kTraditionalChinese,
                         "plain words, nothing more"};
  const char* charsets[] = {"UTF-8",        "UTF-16BE",     "UTF-16LE",     "ISO-8859-7",
                            "windows-1253", "ISO-8859-9",   "windows-1254", "KOI8-R",
                            "windows-1251", "ISO-8859-5",   "Shift_JIS",    "EUC-JP",
                            "EUC-KR",       "GB18030",      "Big5",         "ISO-2022-JP",
                            "IBM424",       "windows-1256", "ISO-8859-2"};
  for (const char* text : texts) {
    for (const char* charset : charsets) {
      std::string bytes = Encode(text, charset);
      samples.push_back(bytes);
      samples.push_back(bytes.substr(0, 40));
      samples.push_back(bytes.substr(0, 41));
    }
  }
  uint32_t seed = 3;
  for (int n = 0; n < 200; ++n) {
    std::string bytes;
    for (int i = 0; i < 50 + n * 3; ++i) {
      seed = seed * 1103515245 + 12345;
      bytes.push_back(static_cast<char>(n % 2 ? seed >> 16 : 0x20 + (seed >> 16) % 0x60));
    }
    samples.push_back(bytes);
  }
  // Longer than one sample: the passes go a chunk at a time.
  std::string longGreek;
  std::string longNoise;
  while (longGreek.size() < 9000) longGreek += Encode(kGreek, "ISO-8859-7");
  while (longNoise.size() < 9000) longNoise += samples[samples.size() - 1];
  samples.push_back(longGreek);
  samples.push_back(longNoise);
  for (size_t n = 0; n < samples.size(); ++n) {
    const std::string& s = samples[n];
    CharsetCandidateList list = DetectCharsetCandidates(Bytes(s), s.size());
    EXPECT_EQ(Detect(s), list.empty() ? "" : ConverterNameOf(list[0].name)) << "sample " << n;
  }
}

TEST(CharsetDetectorTest, EbcdicHebrewOpensUnderIcusName) {
  EXPECT_STREQ(ConverterNameOf("IBM424_ltr"), "IBM424");
  EXPECT_STREQ(ConverterNameOf("IBM424_rtl"), "IBM424");
  EXPECT_STREQ(ConverterNameOf("KOI8-R"), "KOI8-R");
  std::string hebrew = Encode(
      "כל בני האדם נולדו בני חורין ושווים בערכם ובזכויותיהם. כולם חוננו בתבונה ובמצפון, "
      "לפיכך חובה עליהם לנהוג איש ברעהו ברוח של אחוה.",
      "IBM424");
  EXPECT_EQ(Detect(hebrew), "IBM424");
}

TEST(CharsetDetectorTest, FileStreamUsesDetectionAfterSignatureAndHint) {
  std::string koi8 = Encode(kRussian, "KOI8-R");
  std::string chosen;
  UConverter* c = OpenConverterForSample(Bytes(koi8), koi8.size(), nullptr, &chosen);
  ASSERT_NE(c, nullptr);
  ucnv_close(c);
  EXPECT_EQ(chosen, "KOI8-R");
  c = OpenConverterForSample(Bytes(koi8), koi8.size(), "windows-1251", &chosen);
  ASSERT_NE(c, nullptr);
  ucnv_close(c);
  EXPECT_EQ(chosen, "windows-1251");
  c = OpenConverterForSample(Bytes(koi8), koi8.size(), "no-such-charset", &chosen);
  ASSERT_NE(c, nullptr);
  ucnv_close(c);
  EXPECT_EQ(chosen, "KOI8-R");
}

}  // namespace
