#include <gtest/gtest.h>

#include <string>

#include "engine/base/utf.h"
#include "test_support.h"

using namespace lexora_test;

namespace {

TEST(StringStreamTest, ReadsInCountsThenEnds) {
  Initialized library;
  const char16_t text[] = u"0123456789";
  ILXStream* stream = CreateStringStream(text, 10);
  ASSERT_NE(stream, nullptr);
  char16_t buffer[4];
  EXPECT_EQ(stream->Read(buffer, 4), 4u);
  EXPECT_EQ(stream->Read(buffer, 4), 4u);
  EXPECT_EQ(stream->Read(buffer, 4), 2u);
  EXPECT_EQ(std::u16string(buffer, 2), u"89");
  EXPECT_EQ(stream->Read(buffer, 4), 0u);
  EXPECT_EQ(stream->Read(buffer, 4), 0u);
  EXPECT_EQ(stream->Read(nullptr, 4), 0u);
  stream->Release();
}

TEST(StringStreamTest, EmptyAndNullTexts) {
  Initialized library;
  EXPECT_EQ(ReadAll(CreateStringStream(u"", 0)), u"");
  EXPECT_EQ(ReadAll(CreateStringStream(nullptr, 0)), u"");
  EXPECT_EQ(CreateStringStream(nullptr, 5), nullptr);
  EXPECT_EQ(CreateStringCopyStream(nullptr, 5), nullptr);
}

TEST(StringStreamTest, CopyStreamOutlivesTheCallersText) {
  Initialized library;
  std::u16string text = u"short-lived text";
  ILXStream* stream = CreateStringCopyStream(text.data(), static_cast<uint32_t>(text.size()));
  text.assign(text.size(), u'#');
  EXPECT_EQ(ReadAll(stream, 3), u"short-lived text");
}

TEST(FileStreamTest, MissingFileGivesNullFromEveryCreator) {
  Initialized library;
  EXPECT_EQ(CreateFileStream("/nonexistent/lexora.txt"), nullptr);
  EXPECT_EQ(CreateFileStreamU(u"/nonexistent/lexora.txt"), nullptr);
  EXPECT_EQ(CreateFileStreamWithEncoding("/nonexistent/lexora.txt", "UTF-8"), nullptr);
  EXPECT_EQ(CreateFileStreamWithEncodingU(u"/nonexistent/lexora.txt", "UTF-8"), nullptr);
  EXPECT_EQ(CreateFileStream(nullptr), nullptr);
  EXPECT_EQ(CreateFileStreamU(nullptr), nullptr);
}

TEST(FileStreamTest, DirectoryIsNoFile) {
  Initialized library;
  EXPECT_EQ(CreateFileStream(std::filesystem::temp_directory_path().c_str()), nullptr);
}

TEST(FileStreamTest, EmptyFileOpensAndReadsEmpty) {
  Initialized library;
  TempFile file("");
  ILXStream* stream = CreateFileStream(file.path().c_str());
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(ReadAll(stream), u"");
}

TEST(FileStreamTest, WidePathOpensTheSameFile) {
  Initialized library;
  TempFile file("wide path");
  EXPECT_EQ(ReadAll(CreateFileStreamU(U16(file.path()).c_str())), u"wide path");
}

TEST(FileStreamTest, ByteOrderMarkBeatsTheHint) {
  Initialized library;
  TempFile file(
      "\xEF\xBB\xBF"
      "caf\xC3\xA9");
  EXPECT_EQ(ReadAll(CreateFileStreamWithEncoding(file.path().c_str(), "ISO-8859-1")),
            u"\uFEFFcaf\u00e9");
}

TEST(FileStreamTest, HintIsUsedWithoutASignature) {
  Initialized library;
  TempFile file("\xC0\xC1");  // KOI8-R small letters yu and a
  EXPECT_EQ(ReadAll(CreateFileStreamWithEncoding(file.path().c_str(), "KOI8-R")), u"\u044e\u0430");
}

TEST(FileStreamTest, UnknownHintFallsThroughToLatin1) {
  Initialized library;
  TempFile file("caf\xE9");
  EXPECT_EQ(ReadAll(CreateFileStreamWithEncoding(file.path().c_str(), "no-such-charset")),
            u"caf\u00e9");
  EXPECT_EQ(ReadAll(CreateFileStreamWithEncoding(file.path().c_str(), "")), u"caf\u00e9");
}

TEST(FileStreamTest, Utf16LittleEndianWithMark) {
  Initialized library;
  TempFile file(
      std::string("\xFF\xFE"
                  "A\0"
                  "\x00\x4e",
                  6));
  EXPECT_EQ(ReadAll(CreateFileStream(file.path().c_str())), u"\uFEFFA\u4e00");
}

TEST(FileStreamTest, CharactersSplitAcrossReadsDecodeWhole) {
  Initialized library;
  // 2,047 ASCII bytes put the first three-byte character across the boundary
  // of the first read, and many more follow.
  std::string bytes = "\xEF\xBB\xBF" + std::string(2044, 'a');
  std::u16string expected = u"\uFEFF" + std::u16string(2044, u'a');
  for (int i = 0; i < 3000; ++i) {
    bytes += "\xE4\xB8\xAD";
    expected += u"\u4e2d";
  }
  TempFile file(bytes);
  EXPECT_EQ(ReadAll(CreateFileStream(file.path().c_str()), 1000), expected);
}

TEST(FileStreamTest, IncompleteCharacterAtTheEndIsFlushed) {
  Initialized library;
  TempFile file(
      "\xEF\xBB\xBF"
      "ab\xE4\xB8");
  std::u16string text = ReadAll(CreateFileStream(file.path().c_str()));
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text.substr(0, 3), u"\uFEFFab");
  EXPECT_EQ(text[3], u'\uFFFD');
}

}  // namespace
