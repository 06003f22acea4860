#include "engine/input/normalizing_reader.h"

#include <gtest/gtest.h>

#include "engine/base/exceptions.h"
#include "engine/input/transfer_encoding.h"
#include "test_support.h"

using namespace Nimbra::Lexora;
using namespace lexora_test;

namespace {

using Mode = NormalizingReader::Mode;

// Everything a reader delivers, consuming one unit at a time.
std::u16string ReadNormalized(std::u16string_view text, Mode mode = Mode::Plain) {
  StreamPtr stream = StringStreamOf(text);
  std::u16string out;
  NormalizingReader reader(stream.get(), mode);
  while (reader.Ensure(1)) {
    out.push_back(reader.Peek());
    reader.Advance();
  }
  return out;
}

TEST(NormalizingReaderTest, CompatibilityFormsMeetTheirPlainForms) {
  Initialized library;
  EXPECT_EQ(ReadNormalized(u"\uFF21\uFF22\uFF23"), u"ABC");  // full-width Latin
  EXPECT_EQ(ReadNormalized(u"\uFB01ne"), u"fine");           // ligature
  EXPECT_EQ(ReadNormalized(u"caf\u00e9"), ReadNormalized(u"cafe\u0301"));
  EXPECT_EQ(ReadNormalized(u"caf\u00e9"), u"cafe\u0301");
  EXPECT_EQ(ReadNormalized(u"\U0001D400"), u"A");  // supplementary compatibility character
}

TEST(NormalizingReaderTest, ByteOrderMarkDroppedOnlyAtTheStart) {
  Initialized library;
  EXPECT_EQ(ReadNormalized(u"\uFEFF\uFEFFab\uFEFFc"), u"ab\uFEFFc");
}

TEST(NormalizingReaderTest, DecompositionAcrossChunkBoundaries) {
  Initialized library;
  // Base letters and combining marks straddle the 128-unit chunks.
  std::u16string text;
  std::u16string expected;
  for (int i = 0; i < 500; ++i) {
    text += u"e\u0301\u00e9x";
    expected += u"e\u0301e\u0301x";
  }
  EXPECT_EQ(ReadNormalized(text), expected);
}

TEST(NormalizingReaderTest, TextWithoutInertCharactersStillEnds) {
  Initialized library;
  std::u16string marks(200000, u'\u0301');
  std::u16string out = ReadNormalized(u"a" + marks);
  EXPECT_EQ(out.size(), marks.size() + 1);
}

TEST(NormalizingReaderTest, EnsureLooksAheadAndKeepsPinnedText) {
  Initialized library;
  std::u16string text(1000, u'x');
  text[500] = u'y';
  ILXStream* stream = CreateStringStream(text.data(), 1000);
  NormalizingReader reader(stream, Mode::Plain);
  ASSERT_TRUE(reader.Ensure(64));
  for (int i = 0; i < 100; ++i) reader.Advance();
  reader.Pin();
  NormalizingReader::Position saved = reader.position();
  ASSERT_TRUE(reader.Ensure(401));
  EXPECT_EQ(reader.Peek(400), u'y');
  for (int i = 0; i < 450; ++i) {
    ASSERT_TRUE(reader.Ensure(1));
    reader.Advance();
  }
  reader.Restore(saved);
  reader.Unpin();
  EXPECT_EQ(reader.consumed(), 100u);
  ASSERT_TRUE(reader.Ensure(401));
  EXPECT_EQ(reader.Peek(400), u'y');
  EXPECT_FALSE(reader.Ensure(901));
  stream->Release();
}

TEST(NormalizingReaderTest, DetectModeWithoutMarkerReadsPlainText) {
  Initialized library;
  EXPECT_EQ(ReadNormalized(u"ENCODED text", Mode::Detect), u"ENCODED text");
  EXPECT_EQ(ReadNormalized(u"EN", Mode::Detect), u"EN");
}

TEST(NormalizingReaderTest, EncipheredTextRoundTrips) {
  Initialized library;
  std::u16string text = u"[NAME=Card] \"free gift\" NEAR=3 [CCARD]\r\ncaf\u00e9 \u4e2d\u6587\n";
  for (int i = 0; i < 50; ++i)
    text += u"line of more rule text " + std::u16string(1, u'a' + i % 26) + u"\n";
  std::u16string encoded = EncodeTransfer(text);
  ASSERT_EQ(encoded.substr(0, 4), u"ENC\uFEFF");
  EXPECT_EQ(ReadNormalized(encoded, Mode::Detect), ReadNormalized(text));
}

TEST(NormalizingReaderTest, EncipheredTextAfterAByteOrderMark) {
  Initialized library;
  std::u16string encoded = u"\uFEFF" + EncodeTransfer(u"hello");
  EXPECT_EQ(ReadNormalized(encoded, Mode::Detect), u"hello");
}

TEST(NormalizingReaderTest, InvalidBase64EndsTheRead) {
  Initialized library;
  std::u16string encoded = EncodeTransfer(u"hello world") + u"!!";
  EXPECT_THROW(ReadNormalized(encoded, Mode::Detect), RuntimeError);
  try {
    ReadNormalized(u"ENC\uFEFFab*d", Mode::Detect);
    FAIL() << "expected an error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(std::u16string(e.what()), u"Invalid base64 encoding");
  }
}

TEST(TransferEncodingTest, WhitespaceInsideTheEncodingIsIgnored) {
  std::u16string encoded = EncodeTransfer(u"spaced out");
  std::u16string spaced;
  for (size_t i = 4; i < encoded.size(); ++i) {
    spaced.push_back(encoded[i]);
    if (i % 3 == 0) spaced += u" \t";
  }
  TransferDecoder decoder;
  std::u16string out;
  decoder.Decode(spaced, out);
  EXPECT_EQ(out, u"spaced out");
}

}  // namespace
