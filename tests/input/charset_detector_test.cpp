#include "engine/input/charset_detector.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/input/charset/live_windows.h"
#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/seven_bit_rivals.h"
#include "engine/input/charset/single_byte_recognizers.h"
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

// The text said again until it fills `length` bytes.
std::string Repeated(const std::string& bytes, size_t length) {
  std::string out;
  while (!bytes.empty() && out.size() < length) out += bytes;
  return out.substr(0, length);
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
const char kCzech[] =
    "Všichni lidé rodí se svobodní a sobě rovní co do důstojnosti a práv. Jsou nadáni rozumem a "
    "svědomím a mají spolu jednat v duchu bratrství.";
const char kHebrew[] =
    "כל בני האדם נולדו בני חורין ושווים בערכם ובזכויותיהם. כולם חוננו בתבונה ובמצפון, "
    "לפיכך חובה עליהם לנהוג איש ברעהו ברוח של אחוה.";
const char kArabic[] =
    "يولد جميع الناس أحراراً متساوين في الكرامة والحقوق. وقد وهبوا عقلاً وضميراً وعليهم أن "
    "يعامل بعضهم بعضاً بروح الإخاء.";
const char kFrench[] =
    "Tous les êtres humains naissent libres et égaux en dignité et en droits. Ils sont doués de "
    "raison et de conscience et doivent agir les uns envers les autres dans un esprit de "
    "fraternité.";
const char kTraditionalChinese[] =
    "人人生而自由，在尊嚴和權利上一律平等。他們賦有理性和良心，並應以兄弟關係的精神相對待。"
    "人人有資格享有本宣言所載的一切權利和自由，不分種族、膚色、性別、語言、宗教、政治或其他見解。";

// About 1 KB of UTF-8 with two accented letters and nothing else beyond
// ASCII: the Italian table knows more than a third of its trigrams.
const char kItalianManual[] =
    "DESCRIZIONE\n"
    "Questo programma legge i file indicati sulla riga di comando, oppure lo standard "
    "input se non viene indicato alcun file, e scrive il risultato sullo standard "
    "output. Le opzioni permettono di scegliere il formato di uscita, il numero di "
    "colonne e la codifica dei caratteri. Se una riga supera la larghezza indicata, "
    "viene divisa in due righe. Il programma restituisce zero in caso di successo e "
    "un valore diverso da zero in caso di errore.\n"
    "OPZIONI\n"
    "mostra il numero di versione del programma ed esce\n"
    "mostra questo messaggio di aiuto ed esce\n"
    "imposta il nome del file di output a FILE\n"
    "non stampa i messaggi di avanzamento durante la lettura dei file\n"
    "TRADUZIONE\n"
    "La traduzione italiana di questa pagina di manuale è stata creata da un gruppo "
    "di volontari. Questa traduzione è documentazione libera; leggere la GNU General "
    "Public License Versione 3 o successiva per le condizioni di copyright. Per "
    "segnalare errori nella traduzione di questa pagina di manuale inviare un "
    "messaggio alla lista di discussione dei traduttori.\n";

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

// A valid sample with even one multi-byte character is UTF-8, although a
// single-byte table is sure of the same text.
TEST(CharsetDetectorTest, ValidUtf8WithFewMultiByteCharactersIsUtf8) {
  std::string italian = kItalianManual;
  CharsetCandidateList list = DetectCharsetCandidates(Bytes(italian), italian.size());
  ASSERT_FALSE(list.empty());
  EXPECT_STREQ(list[0].name, "UTF-8");
  EXPECT_EQ(list[0].confidence, 100);
  const CharsetCandidate* latin1 = Find(list, "ISO-8859-1");
  ASSERT_NE(latin1, nullptr);
  EXPECT_EQ(latin1->confidence, 99);
  // The file stream then decodes the letters, not their two bytes each.
  std::string chosen;
  UConverter* c = OpenConverterForSample(Bytes(italian), italian.size(), nullptr, &chosen);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(chosen, "UTF-8");
  std::u16string text(italian.size(), u'\0');
  UErrorCode status = U_ZERO_ERROR;
  text.resize(static_cast<size_t>(ucnv_toUChars(c, text.data(), static_cast<int32_t>(text.size()),
                                                italian.data(),
                                                static_cast<int32_t>(italian.size()), &status)));
  ucnv_close(c);
  EXPECT_NE(text.find(u"manuale \u00E8 stata"), std::u16string::npos);
  // One character at either end, in samples short and long.
  EXPECT_EQ(Detect("caf\xC3\xA9"), "UTF-8");
  EXPECT_EQ(Detect("\xE2\x82\xAC 12,50 " + Repeated(italian, 4080)), "UTF-8");
  EXPECT_EQ(Detect(Repeated("Der Preis ist hoch. ", 4090) + "\xC3\xBC"), "UTF-8");
  EXPECT_EQ(Detect(Encode(kFrench, "UTF-8")), "UTF-8");
}

// Single-byte text with accented letters and C1 bytes seldom forms a valid
// multi-byte sequence and never only such: it keeps its single-byte name.
TEST(CharsetDetectorTest, SingleByteTextStaysSingleByte) {
  std::string quoted = std::string("\u201C") + kItalianManual + "\u201D \u2013 l\u2019\u00E8\u2026";
  struct Case {
    std::string bytes;
    const char* name;
  };
  const Case cases[] = {
      {Encode(kItalianManual, "ISO-8859-1"), "ISO-8859-1"},
      {Encode(quoted, "windows-1252"), "Windows-1252"},
      {Encode(kFrench, "ISO-8859-1"), "ISO-8859-1"},
      {Encode(std::string("\u201C") + kFrench + "\u201D", "windows-1252"), "Windows-1252"},
      {Encode(kCzech, "windows-1250"), "Windows-1250"},
      {Encode(kCzech, "ISO-8859-2"), "ISO-8859-2"},
      {Encode(kTurkish, "ISO-8859-9"), "ISO-8859-9"},
      // Pairs that would be characters but for the shortest form: A-grave and
      // a no-break space, A-acute and an ellipsis.
      {"Voici la carte \xC0\xA0la fin du repas, servie chaude.", "ISO-8859-1"},
      {"Voici la carte \xC1\x85 servie chaude, avec du pain.", "Windows-1252"},
  };
  for (const Case& c : cases) EXPECT_EQ(Detect(c.bytes), c.name) << c.bytes;
}

// A character cut off by the sample's end is no evidence: alone it does not
// make the sample UTF-8, and after a complete one it is no error.
TEST(CharsetDetectorTest, CharacterCutBySampleEnd) {
  std::string ascii =
      Repeated("Questo programma legge i file indicati sulla riga di comando. ", 4095);
  EXPECT_EQ(Detect(ascii + "\xC3"), "ISO-8859-1");
  EXPECT_EQ(Detect(ascii.substr(0, 4094) + "\xE2\x82"), "Windows-1252");  // 0x82 is C1
  EXPECT_EQ(Detect(std::string(kItalianManual) + "\xE2\x82"), "UTF-8");
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

// Detection stops running recognizers that can no longer win, and single-byte
// passes stop once their bounds settle; it must name what the full, sorted
// candidate list puts first.
TEST(CharsetDetectorTest, DetectionAgreesWithTheFullList) {
  std::vector<std::string> samples;
  const char* texts[] = {kGreek,
                         kTurkish,
                         kRussian,
                         kCzech,
                         kHebrew,
                         kArabic,
                         kFrench,
                         kJapanese,
                         kKorean,
                         kSimplifiedChinese,
                         kTraditionalChinese,
                         "plain words, nothing more"};
  const char* charsets[] = {
      "UTF-8",        "UTF-16BE",   "UTF-16LE",     "ISO-8859-7",  "windows-1253", "ISO-8859-9",
      "windows-1254", "KOI8-R",     "windows-1251", "ISO-8859-5",  "Shift_JIS",    "EUC-JP",
      "EUC-KR",       "GB18030",    "Big5",         "ISO-2022-JP", "IBM424",       "windows-1256",
      "ISO-8859-6",   "ISO-8859-2", "windows-1250", "ISO-8859-8",  "windows-1255", "ISO-8859-1"};
  for (const char* text : texts) {
    for (const char* charset : charsets) {
      std::string bytes = Encode(text, charset);
      samples.push_back(bytes);
      samples.push_back(bytes.substr(0, 40));
      samples.push_back(bytes.substr(0, 41));
      // Many blocks of a pass, up to one whole chunk and just past it.
      for (size_t length : {1000, 4095, 4096, 4097}) samples.push_back(Repeated(bytes, length));
    }
  }
  // Around the ends of the passes' blocks, in text of high bytes and in
  // text mostly of ASCII.
  for (std::string bytes : {Encode(kGreek, "ISO-8859-7"), Encode(kCzech, "ISO-8859-2")}) {
    for (size_t length = 240; length < 280; ++length) samples.push_back(Repeated(bytes, length));
  }
  // Bytes that some maps read as 0 (controls, C1), among letters, and a
  // few zero bytes: each map counts its own trigrams.
  std::string russian = Repeated(Encode(kRussian, "windows-1251"), 3000);
  std::string czech = Repeated(Encode(kCzech, "ISO-8859-2"), 3000);
  for (size_t i = 7; i < russian.size(); i += 37) russian[i] = static_cast<char>(0x80 + i % 32);
  for (size_t i = 11; i < czech.size(); i += 53) czech[i] = i % 2 ? '\x1A' : '\0';
  samples.push_back(russian);
  samples.push_back(czech);
  // English: no table knows a third of its trigrams, so no member is sure.
  samples.push_back(Repeated(
      "All human beings are born free and equal in dignity and rights. They are endowed with "
      "reason and conscience and should act towards one another in a spirit of brotherhood. ",
      4096));
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

// Every file under examples/ (all of it and its first 4 KB).
std::vector<std::string> ShippedExamples() {
  std::vector<std::string> files;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(LEXORA_SOURCE_DIR "/examples")) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    files.push_back(bytes.substr(0, 4096));
    if (bytes.size() > 4096) files.push_back(bytes);
  }
  return files;
}

// 7-bit text mostly takes a shortcut past the single-byte scoring; its
// answer must be the full list's, also where the shortcut has to decline.
TEST(CharsetDetectorTest, SevenBitTextAgreesWithTheFullList) {
  std::vector<std::string> samples = ShippedExamples();
  const std::string mail =
      "Received: from mail.example.org (mail.example.org [192.0.2.17])\r\n\tby mx.example.net "
      "with ESMTP id 4F2A1; Tue, 3 Sep 2002 10:11:12 +0100\r\nSubject: Re: the meeting "
      "notes\r\n\r\n"
      "Thanks for the notes -- see you all on Thursday at the usual place.\r\n";
  // ASCII spellings of languages that other members' tables know, and the
  // letters that EBCDIC Hebrew reads as Hebrew: the shortcut must let these
  // through to the full scoring when a member comes near.
  const char* rivals[] = {
      "Prosim vas, muzete mi rict, kde je nadrazi? Dekuji, na shledanou zitra rano. ",
      "Bugun hava cok guzel, arkadaslarimla birlikte denize gidecegiz ve aksam yemek yiyecegiz. ",
      "Nie wiem, czy jutro bedzie padac, ale mam nadzieje, ze bedzie slonecznie i cieplo. ",
      "Jo napot kivanok, hogy vagy? Holnap reggel talalkozunk a palyaudvaron, rendben? ",
      "Buna ziua, ce mai faci? Maine dimineata ne intalnim la gara, este bine asa? ",
      "ABCDEFGHI QRSTUVWXY bcdefghi q ABC DEF GHI QRS TUV WXY bcd efg hiq ",
  };
  for (const std::string& text :
       {mail, std::string(rivals[0]), std::string(rivals[1]), std::string(rivals[2]),
        std::string(rivals[3]), std::string(rivals[4]), std::string(rivals[5])}) {
    for (size_t length : {1, 2, 3, 5, 6, 40, 41, 999, 4096})
      samples.push_back(Repeated(text, length));
  }
  // Mixed: a rival language in an English mail, control bytes the maps read
  // as 0, an escape sequence, a zero byte, runs of blanks at the start.
  samples.push_back(Repeated(mail + rivals[0], 4096));
  samples.push_back(Repeated(std::string(rivals[5]) + mail, 4096));
  samples.push_back(Repeated(mail + "\x1A\x1A ok \x1A", 4096));
  samples.push_back(Repeated(mail + "\x1B$B", 4096));
  samples.push_back(Repeated(mail + std::string(1, '\0'), 4096));
  samples.push_back("    " + Repeated(mail, 500));
  samples.push_back(std::string("\0abc", 4));
  uint32_t seed = 5;
  for (int n = 0; n < 300; ++n) {
    std::string bytes;
    const std::string alphabet = n % 3 == 0   ? "etaoinshrdlu   ,.-"
                                 : n % 3 == 1 ? "ABCDEFGHIQRSTUVWXYbcdefghiq@ "
                                              : "aeiouzcsnrtlkmpjy ";
    for (int i = 0; i < 3 + n * 13; ++i) {
      seed = seed * 1103515245 + 12345;
      bytes.push_back(alphabet[(seed >> 16) % alphabet.size()]);
    }
    samples.push_back(bytes);
  }
  const SevenBitRivals shortcut("ISO-8859-1");
  size_t taken = 0;
  size_t declined = 0;
  for (size_t n = 0; n < samples.size(); ++n) {
    const std::string& s = samples[n];
    CharsetCandidateList list = DetectCharsetCandidates(Bytes(s), s.size());
    EXPECT_EQ(Detect(s), list.empty() ? "" : ConverterNameOf(list[0].name)) << "sample " << n;
    SampleFacts facts = SurveySample(Bytes(s), s.size());
    if (facts.highBytes || facts.zeros || facts.escapes || s.empty()) continue;
    bool behind = shortcut.AllBehind(facts, {75, 0, "ISO-8859-1"});
    if (behind) {
      EXPECT_STREQ(list[0].name, "ISO-8859-1") << "sample " << n;
    }
    (behind ? taken : declined)++;
  }
  // Both ways are walked.
  EXPECT_GT(taken, 100u);
  EXPECT_GT(declined, 10u);
}

// The live windows bound what a pass can still find: from any block on, at
// least as many as each table knows, and exactly the trigrams each map counts.
TEST(CharsetDetectorTest, LiveWindowsBoundTheHits) {
  for (const char* text : {kGreek, kRussian, kCzech, kHebrew, kFrench}) {
    for (const char* charset : {"ISO-8859-7", "KOI8-R", "windows-1250", "ISO-8859-8", "IBM424"}) {
      // Any bytes will do as kept bytes; a few that some maps read as 0.
      std::string kept = std::string(2, '\0') + Repeated(Encode(text, charset), 700) +
                         "\x1A\x81"
                         "a";
      const uint8_t* bytes = Bytes(kept);
      LiveWindows live;
      live.Count(bytes, kept.size());
      for (size_t block = 0; 2 + block * LiveWindows::kBlock < kept.size(); ++block) {
        for (const SingleByteRecognizer& r : kSingleByteRecognizers) {
          const uint8_t* map = CharMap(r.map);
          uint32_t counted = 0;
          uint32_t known[TrigramIndex::kMaxTables] = {};
          for (size_t j = 2 + block * LiveWindows::kBlock; j < kept.size(); ++j) {
            counted += map[bytes[j - 2]] != 0;
            for (size_t t = 0; t < r.tableCount; ++t) {
              auto id = static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t);
              known[t] += KnowsTrigram(TrigramTable(id), map[bytes[j - 2]], map[bytes[j - 1]],
                                       map[bytes[j]]);
            }
          }
          EXPECT_EQ(live.Counted(block, r.map), counted) << r.isoName << " block " << block;
          for (size_t t = 0; t < r.tableCount; ++t) {
            auto id = static_cast<TrigramTableId>(static_cast<size_t>(r.firstTable) + t);
            EXPECT_GE(live.Live(block, id), known[t]) << r.isoName << " block " << block;
          }
        }
      }
    }
  }
}

// A single-byte pass may stop as soon as its bounds settle what is asked;
// the range it stops with must hold the confidence of the whole pass, and be
// that confidence when it is one value. One scorer serves all the
// questions, so that passes resume where they stopped.
TEST(CharsetDetectorTest, NarrowedRangesHoldTheConfidence) {
  std::vector<std::string> samples;
  for (const char* text : {kGreek, kRussian, kCzech, kHebrew, kArabic, kFrench, kTurkish}) {
    for (const char* charset : {"ISO-8859-7", "windows-1251", "ISO-8859-2", "windows-1255",
                                "windows-1256", "ISO-8859-1", "ISO-8859-9", "IBM424"}) {
      std::string bytes = Encode(text, charset);
      samples.push_back(Repeated(bytes, 300));
      samples.push_back(Repeated(bytes, 4096));
    }
  }
  samples.push_back(Repeated(Encode(kFrench, "ISO-8859-1"), 5000));  // past one chunk
  for (size_t n = 0; n < samples.size(); ++n) {
    const std::string& s = samples[n];
    SampleFacts facts = SurveySample(Bytes(s), s.size());
    SingleByteConfidenceList exact = SingleByteConfidences(facts);
    SingleByteScorer scorer(facts);
    for (int32_t need : {99, 90, 60, 1}) {
      for (size_t i = 0; i < kSingleByteRecognizerCount; ++i) {
        ConfidenceRange range = scorer.Narrow(i, need);
        EXPECT_LE(range.low, exact[i]) << "sample " << n << " member " << i << " need " << need;
        EXPECT_GE(range.high, exact[i]) << "sample " << n << " member " << i << " need " << need;
        EXPECT_TRUE(range.low == range.high || range.high < need)
            << "sample " << n << " member " << i << " need " << need;
      }
    }
    for (size_t i = 0; i < kSingleByteRecognizerCount; ++i) {
      EXPECT_EQ(scorer.Confidence(i), exact[i]) << "sample " << n << " member " << i;
    }
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
