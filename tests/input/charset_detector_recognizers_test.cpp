#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/charset/candidate_list.h"
#include "engine/input/charset/double_byte_recognizers.h"
#include "engine/input/charset/escape_recognizers.h"
#include "engine/input/charset/sample_facts.h"
#include "engine/input/charset/single_byte_recognizers.h"
#include "engine/input/charset/trained_data.h"
#include "engine/input/charset/unicode_recognizers.h"
#include "engine/input/charset/valid_code_points.h"

using namespace Nimbra::Lexora;

namespace {

// Facts over a string that the test keeps alive.
SampleFacts Facts(const std::string& s) {
  return SurveySample(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

std::string Repeat(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

TEST(CharsetRecognizerTest, SampleFacts) {
  std::string s("a\0b\x85\xA0\x1B", 6);
  SampleFacts f = Facts(s);
  EXPECT_EQ(f.zeros, 1u);
  EXPECT_EQ(f.nonZeros, 5u);
  EXPECT_TRUE(f.highBytes);
  EXPECT_TRUE(f.c1Bytes);
  EXPECT_TRUE(f.escapes);
  SampleFacts plain = Facts("plain");
  EXPECT_FALSE(plain.highBytes || plain.c1Bytes || plain.escapes);
}

TEST(CharsetRecognizerTest, SampleFactsOfEveryByteAnywhere) {
  // Each byte value alone in a run of text, at every offset of a word.
  for (int value = 0; value < 256; ++value) {
    for (size_t at = 0; at < 19; ++at) {
      std::string s(19, 'x');
      s[at] = static_cast<char>(value);
      SampleFacts f = Facts(s);
      EXPECT_EQ(f.zeros, value == 0 ? 1u : 0u) << value << " at " << at;
      EXPECT_EQ(f.highBytes, value >= 0x80) << value << " at " << at;
      EXPECT_EQ(f.highCount, value >= 0x80 ? 1u : 0u) << value << " at " << at;
      EXPECT_EQ(f.c1Bytes, value >= 0x80 && value <= 0x9F) << value << " at " << at;
      EXPECT_EQ(f.escapes, value == 0x1B) << value << " at " << at;
    }
  }
  std::string zeros(100, '\0');
  EXPECT_EQ(Facts(zeros).zeros, 100u);
  EXPECT_EQ(Facts(zeros).nonZeros, 0u);
  // Past the 255 rounds a byte lane counts before the lanes are summed.
  std::string large = Repeat(std::string("\0\xC1xy", 4), 1300) + "\xE0";
  EXPECT_EQ(Facts(large).zeros, 1300u);
  EXPECT_EQ(Facts(large).highCount, 1301u);
}

TEST(CharsetRecognizerTest, SevenBitCountsZeros) {
  EXPECT_EQ(SevenBitConfidence(Facts("text")), 75);
  EXPECT_EQ(SevenBitConfidence(Facts("t\xE9xt")), 0);
  // z * 100 < n: 1 zero needs at least 101 other bytes.
  std::string s = std::string(100, 'a') + '\0';
  EXPECT_EQ(SevenBitConfidence(Facts(s)), 0);
  s += 'a';
  EXPECT_EQ(SevenBitConfidence(Facts(s)), 75);
}

TEST(CharsetRecognizerTest, Utf8Confidences) {
  EXPECT_EQ(Utf8Confidence(Facts("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9")), 100);
  // One character in a sample without errors and zero bytes is as sure.
  EXPECT_EQ(Utf8Confidence(Facts("caf\xC3\xA9")), 100);
  EXPECT_EQ(Utf8Confidence(Facts("plain")), 20);
  // Errors, even with four good characters after them.
  EXPECT_EQ(Utf8Confidence(Facts("\xFF\xFE\xFD\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9")), 0);
  // One error among fewer than 50 good characters per fault.
  EXPECT_EQ(Utf8Confidence(Facts("abc\xFF\xC3\xA9")), 0);
  EXPECT_EQ(Utf8Confidence(Facts(std::string(60, 'a') + "\xFF\xC3\xA9")), 0);
  // A sequence cut off by the sample's end is not counted.
  EXPECT_EQ(Utf8Confidence(Facts("caf\xC3\xA9\xE2\x82")), 100);
  EXPECT_EQ(Utf8Confidence(Facts("plain\xE2\x82")), 20);
  // A code point outside the valid set (a surrogate) is an error.
  EXPECT_EQ(Utf8Confidence(Facts(std::string(100, 'a') + "\xED\xA0\x80")), 0);
  // So is an overlong form, of any length.
  for (const char* overlong : {"\xC0\xA0", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF"}) {
    EXPECT_EQ(Utf8Confidence(Facts(std::string(100, 'a') + overlong)), 0) << overlong;
    EXPECT_EQ(Utf8Confidence(Facts(Repeat(overlong, 4))), 0) << overlong;
  }
  EXPECT_EQ(Utf8Confidence(Facts(std::string(100, 'a') + "\xE0\xA0\x80\xF0\x90\x80\x80")), 100);
  // Stray continuation bytes are one error each, not skipped as a run.
  EXPECT_EQ(Utf8Confidence(Facts("\x82\xB7\x82\xD7\x82\xC4\x82\xCC\x90\x6C")), 0);
  EXPECT_EQ(Utf8Confidence(Facts(std::string(200, 'a') + "\xE9\xA0x" + std::string(200, 'a'))), 0);
  // Zero bytes: fine at one in fifty, too many at one in ten; with one, a
  // few characters are not proof.
  EXPECT_EQ(Utf8Confidence(Facts(std::string(50, 'a') + std::string(1, '\0') + "\xC3\xA9")), 80);
  EXPECT_EQ(Utf8Confidence(Facts(std::string(10, 'a') + std::string(1, '\0') + "\xC3\xA9")), 0);
}

TEST(CharsetRecognizerTest, Utf16Confidences) {
  std::string be("\0H\0i\0 \0t\0h\0e\0r\0e", 16);
  EXPECT_EQ(Utf16Confidence(Facts(be), true), 85);
  EXPECT_EQ(Utf16Confidence(Facts(be), false), 0);
  EXPECT_EQ(Utf16Confidence(Facts(be + "x"), true), 0);
  // Ideographs with one white space per 50: common enough.
  std::string han = Repeat(std::string("\x4E\x00", 2), 49) + std::string("\x30\x00", 2);
  EXPECT_EQ(Utf16Confidence(Facts(han), true), 50);
  EXPECT_EQ(Utf16Confidence(
                Facts(Repeat(std::string("\x4E\x00", 2), 50) + std::string("\x30\x00", 2)), true),
            0);
  // Three lone surrogates reject the sample; a valid pair is one character.
  std::string lone = Repeat(std::string("\xDC\x00", 2), 3) + be;
  EXPECT_EQ(Utf16Confidence(Facts(lone), true), 0);
  std::string pair = std::string("\xD8\x3D\xDE\x00", 4) + be;
  EXPECT_EQ(Utf16Confidence(Facts(pair), true), 85);
  // Nothing valid at all gives no candidate.
  EXPECT_EQ(Utf16Confidence(Facts(std::string(4, '\0')), true), 0);
}

TEST(CharsetRecognizerTest, Utf16CommonWhiteSpaceList) {
  int count = 0;
  for (uint32_t c = 0; c <= 0x10FFFF; ++c) count += IsCommonUtf16WhiteSpace(c);
  EXPECT_EQ(count, 26);
  EXPECT_TRUE(IsCommonUtf16WhiteSpace(0x2002));
  EXPECT_FALSE(IsCommonUtf16WhiteSpace(0x2000));
  EXPECT_FALSE(IsCommonUtf16WhiteSpace(0x2001));
  EXPECT_TRUE(IsCommonUtf16WhiteSpace(0x3000));
}

TEST(CharsetRecognizerTest, ValidCodePoints) {
  EXPECT_TRUE(IsValidCodePoint('A'));
  EXPECT_TRUE(IsValidCodePoint('\n'));
  EXPECT_FALSE(IsValidCodePoint(0));
  EXPECT_FALSE(IsValidCodePoint(0x0378));  // unassigned
  EXPECT_FALSE(IsValidCodePoint(0xD800));  // surrogate
  EXPECT_FALSE(IsValidCodePoint(0xE000));  // private use
  EXPECT_TRUE(IsValidCodePoint(0x4E00));
  EXPECT_TRUE(IsValidCodePoint(0x1F600));
  EXPECT_TRUE(IsValidCodePoint(0x20000));
  EXPECT_FALSE(IsValidCodePoint(0xF0000));  // supplementary private use
  EXPECT_FALSE(IsValidCodePoint(0x10FFFF));
  EXPECT_FALSE(IsValidCodePoint(0x110000));
}

TEST(CharsetRecognizerTest, EscapeSequences) {
  EXPECT_EQ(EscapeConfidence(Facts("x\x1B$)Ay"), EscapeCharset::kIso2022Cn), 100);
  EXPECT_EQ(EscapeConfidence(Facts("\x1B$+K"), EscapeCharset::kIso2022Cn), 100);
  EXPECT_EQ(EscapeConfidence(Facts("\x1B$+N"), EscapeCharset::kIso2022Cn), 0);
  EXPECT_EQ(EscapeConfidence(Facts("\x1B(B"), EscapeCharset::kIso2022Jp), 100);
  EXPECT_EQ(EscapeConfidence(Facts("\x1B$(Q"), EscapeCharset::kIso2022Jp), 100);
  EXPECT_EQ(EscapeConfidence(Facts("\x1B$("), EscapeCharset::kIso2022Jp), 0);
  EXPECT_EQ(EscapeConfidence(Facts("ab\x1B$)C"), EscapeCharset::kIso2022Kr), 100);
  EXPECT_EQ(EscapeConfidence(Facts("ab\x1B$)"), EscapeCharset::kIso2022Kr), 0);
  EXPECT_EQ(EscapeConfidence(Facts("\x1B$)C"), EscapeCharset::kIso2022Jp), 0);
}

TEST(CharsetRecognizerTest, DoubleByteScore) {
  DoubleByteCounts n;
  n.single = 9;
  EXPECT_EQ(DoubleByteConfidence(n, true), 0);
  n.single = 10;
  EXPECT_EQ(DoubleByteConfidence(n, true), 10);
  n = {};
  n.doubleByte = 40;
  n.common = 9;  // ln(10) * 90 / ln(10) + 10
  EXPECT_EQ(DoubleByteConfidence(n, true), 100);
  n.common = 0;
  EXPECT_EQ(DoubleByteConfidence(n, true), 10);
  n.single = 40;
  n.bad = 1;  // 50 * 40 / 40 - 20
  EXPECT_EQ(DoubleByteConfidence(n, false), 30);
  n.bad = 2;  // bad * 20 >= double
  EXPECT_EQ(DoubleByteConfidence(n, false), 0);
  n = {};
  n.doubleByte = 50;
  n.zeros = 1;  // 100 zeros' worth of ... one zero per 50 characters is too many
  EXPECT_EQ(DoubleByteConfidence(n, true), 0);
}

TEST(CharsetRecognizerTest, DoubleByteStructures) {
  ByteSpan none{nullptr, 0};
  // Big5: two bad trails among few double-byte characters reject the sample.
  std::string big5 = Repeat("\xA4\x40", 11) + "\xA4\x20\xA4\x20";
  EXPECT_EQ(DoubleByteConfidence(Facts(big5), DoubleByteCharset::kBig5, none), 0);
  // EUC: 0x8F takes two more bytes; the last must be at least 0xA1.
  std::string euc = Repeat("\x8F\xB0\xA1", 12);
  EXPECT_GT(DoubleByteConfidence(Facts(euc), DoubleByteCharset::kEucJp, none), 0);
  std::string badEuc = Repeat("\x8F\xB0\x41", 12);
  EXPECT_EQ(DoubleByteConfidence(Facts(badEuc), DoubleByteCharset::kEucJp, none), 0);
  // GB18030: four-byte characters are whole characters.
  std::string gb = Repeat("\x81\x30\x81\x30", 12);
  EXPECT_GT(DoubleByteConfidence(Facts(gb), DoubleByteCharset::kGb18030, none), 0);
  EXPECT_EQ(
      DoubleByteConfidence(Facts(Repeat("\x81\x30\x41", 12)), DoubleByteCharset::kGb18030, none),
      0);
  // Shift_JIS: half-width katakana are single bytes.
  EXPECT_EQ(DoubleByteConfidence(Facts(Repeat("\xB1", 20)), DoubleByteCharset::kShiftJis, none),
            10);
  EXPECT_EQ(DoubleByteConfidence(Facts(Repeat("\x82\x20", 20)), DoubleByteCharset::kShiftJis, none),
            0);
}

// One bad character among double-byte ones: at or above a twentieth of them
// it leaves no score, below it the walk's counts score as they are.
TEST(CharsetRecognizerTest, DoubleByteBadShareOfAWalk) {
  ByteSpan none{nullptr, 0};
  for (int32_t pairs = 15; pairs <= 25; ++pairs) {
    std::string sample = "\xA4\x20" + Repeat("\xA4\x40", static_cast<size_t>(pairs));
    DoubleByteCounts whole;
    whole.doubleByte = pairs;
    whole.bad = 1;
    EXPECT_EQ(DoubleByteConfidence(Facts(sample), DoubleByteCharset::kBig5, none),
              DoubleByteConfidence(whole, false))
        << pairs << " pairs";
  }
}

// Samples with many zero bytes score 0 without a walk when no walk could
// give other than 0; the walk must agree, also near the threshold and where
// zeros follow lead bytes.
TEST(CharsetRecognizerTest, DoubleByteZeroRuleWithoutWalking) {
  std::vector<std::string> samples = {
      Repeat(std::string("a\0", 2), 500),
      Repeat(std::string("\xA4\0\x40\0", 4), 300),
      Repeat(std::string("\x81\x30\0\0\xA1\xA1", 6), 100),
      Repeat(std::string("\x8F\0\0", 3), 200) + Repeat("a", 500),
  };
  for (size_t zeros : {38, 39, 40, 41, 42, 60}) {
    samples.push_back(Repeat("word ", 800) + Repeat(std::string("\0", 1), zeros));
    samples.push_back(Repeat("\xB0\xA1", 5) + std::string(zeros, '\0') + Repeat("word ", 800));
  }
  const CommonCharsId common[] = {CommonCharsId::kBig5, CommonCharsId::kEucJp,
                                  CommonCharsId::kEucKr, CommonCharsId::kGb18030,
                                  CommonCharsId::kShiftJis};
  const DoubleByteCharset charsets[] = {DoubleByteCharset::kBig5, DoubleByteCharset::kEucJp,
                                        DoubleByteCharset::kEucKr, DoubleByteCharset::kGb18030,
                                        DoubleByteCharset::kShiftJis};
  for (size_t n = 0; n < samples.size(); ++n) {
    SampleFacts facts = Facts(samples[n]);
    SampleFacts walked = facts;  // the walk counts zeros itself
    walked.zeros = 0;
    walked.highBytes = true;
    for (size_t c = 0; c < 5; ++c) {
      EXPECT_EQ(DoubleByteConfidence(facts, charsets[c], CommonChars(common[c])),
                DoubleByteConfidence(walked, charsets[c], CommonChars(common[c])))
          << "sample " << n << " charset " << c;
    }
  }
}

TEST(CharsetRecognizerTest, SingleByteScore) {
  SampleFacts text = Facts("some text");
  EXPECT_EQ(SingleByteConfidence(text, 0, 0), 0);
  EXPECT_EQ(SingleByteConfidence(text, 34, 100), 99);
  EXPECT_EQ(SingleByteConfidence(text, 33, 100), 99);  // not above 0.33, but 0.33 * 300 is 99
  EXPECT_EQ(SingleByteConfidence(text, 20, 100), 60);
  EXPECT_EQ(SingleByteConfidence(text, 1, 3), 99);
  EXPECT_EQ(SingleByteConfidence(Facts(std::string("ab\0", 3)), 10, 10), 0);
}

TEST(CharsetRecognizerTest, MembersInOrder) {
  const char* names[] = {"ISO-8859-1", "ISO-8859-2",   "ISO-8859-5", "ISO-8859-6",   "ISO-8859-7",
                         "ISO-8859-8", "ISO-8859-8-I", "ISO-8859-9", "Windows-1251", "Windows-1256",
                         "KOI8-R",     "IBM424_ltr",   "IBM424_rtl"};
  int weights[] = {1000, 50, -100, 50, 50, 50, 50, 75, 100, 0, 100, -50, -50};
  size_t tables = 0;
  for (size_t i = 0; i < 13; ++i) {
    EXPECT_STREQ(kSingleByteRecognizers[i].isoName, names[i]);
    EXPECT_EQ(kSingleByteRecognizers[i].weight, weights[i]);
    EXPECT_EQ(static_cast<size_t>(kSingleByteRecognizers[i].firstTable), tables);
    tables += kSingleByteRecognizers[i].tableCount;
  }
  EXPECT_EQ(tables, kTrigramTableCount);
  EXPECT_EQ(kSingleByteRecognizers[0].tableCount, 10);
  EXPECT_EQ(kSingleByteRecognizers[1].tableCount, 4);
}

TEST(CharsetRecognizerTest, TrainedTablesKeepTheirShape) {
  for (size_t t = 0; t < kTrigramTableCount; ++t) {
    const uint8_t* table = TrigramTable(static_cast<TrigramTableId>(t));
    size_t used = 0;
    for (int a = 0; a < 256; ++a) {
      if (table[a] == 0) continue;
      ASSERT_LE(table[a], kTrigramMaxRows) << t;
      for (int b = 0; b < 256; ++b) {
        ASSERT_LE(table[256 * table[a] + b], kTrigramMaxBitmaps) << t;
        used += table[256 * table[a] + b] != 0;
      }
    }
    EXPECT_GT(used, 50u) << "table " << t << " knows almost nothing";
  }
  for (size_t m = 0; m < kCharMapCount; ++m) {
    const uint8_t* map = CharMap(static_cast<CharMapId>(m));
    uint8_t space = m == static_cast<size_t>(CharMapId::kIbm424) ? 0x40 : 0x20;
    EXPECT_EQ(map[space], space) << m;
  }
  EXPECT_EQ(CharMap(CharMapId::kLatin1)['A'], 'a');
  EXPECT_EQ(CharMap(CharMapId::kLatin1)[0xC9], 0xE9);  // É
  EXPECT_EQ(CharMap(CharMapId::kLatin1)[0x8A], 0x9A);  // Š of Windows-1252
  EXPECT_EQ(CharMap(CharMapId::kLatin1)['.'], ' ');
  for (size_t c = 0; c < kCommonCharsCount; ++c) {
    ByteSpan s = CommonChars(static_cast<CommonCharsId>(c));
    ASSERT_GE(s.size, 256u);
    for (int lead = 0; lead < 256; ++lead) {
      EXPECT_LE(256 + s.data[lead] * 32u, s.size);
    }
  }
}

TEST(CharsetRecognizerTest, KnownTrigramsOfTheTables) {
  const uint8_t* english = TrigramTable(TrigramTableId::kEnglish);
  EXPECT_TRUE(KnowsTrigram(english, 't', 'h', 'e'));
  EXPECT_FALSE(KnowsTrigram(english, 'q', 'x', 'z'));
  EXPECT_FALSE(KnowsTrigram(english, 0, 'h', 'e'));
}

TEST(CharsetRecognizerTest, CandidateOrder) {
  CharsetCandidateList list;
  list.Add(0, 1000, "none");
  list.Add(50, 0, "b");
  list.Add(99, 50, "ISO-8859-2");
  list.Add(99, 1000, "ISO-8859-1");
  list.Add(50, 0, "a");
  list.Add(50, 10, "c");
  list.Sort();
  ASSERT_EQ(list.size(), 5u);
  EXPECT_STREQ(list[0].name, "ISO-8859-1");
  EXPECT_STREQ(list[1].name, "ISO-8859-2");
  EXPECT_STREQ(list[2].name, "c");
  EXPECT_STREQ(list[3].name, "a");
  EXPECT_STREQ(list[4].name, "b");
}

}  // namespace
