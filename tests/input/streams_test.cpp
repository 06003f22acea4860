#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
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

// A scratch directory removed with everything in it when the test ends.
class TempDirectory {
 public:
  TempDirectory() {
    path_ = std::filesystem::temp_directory_path() /
            ("lexora_test_dir_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
    std::filesystem::create_directory(path_);
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Path(std::string_view name = "") const { return (path_ / name).string(); }
  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

std::u16string WidePath(const TempDirectory& dir, std::u16string_view name) {
  return U16(dir.Path()) + u"/" + std::u16string(name);
}

// A mistyped path that names a directory would otherwise scan as an empty
// text, to score 0 with no error.
TEST(FileStreamTest, DirectoryGivesNullFromEveryCreator) {
  Initialized library;
  TempDirectory dir;
  EXPECT_EQ(CreateFileStream(dir.Path().c_str()), nullptr);
  EXPECT_EQ(CreateFileStreamU(U16(dir.Path()).c_str()), nullptr);
  EXPECT_EQ(CreateFileStreamWithEncoding(dir.Path().c_str(), "UTF-8"), nullptr);
  EXPECT_EQ(CreateFileStreamWithEncodingU(U16(dir.Path()).c_str(), "UTF-8"), nullptr);
}

// A named pipe without a writer must not block the creator, and a device
// must not stream forever: only a regular file opens.
TEST(FileStreamTest, FifoAndDeviceGiveNullAtOnce) {
  Initialized library;
  TempDirectory dir;
  std::string fifo = dir.Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto created = std::async(std::launch::async, [&] {
    ILXStream* s = CreateFileStreamWithEncoding(fifo.c_str(), "UTF-8");
    if (s) s->Release();
    return s == nullptr;
  });
  if (created.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    int writer = ::open(fifo.c_str(), O_RDWR);  // lets a blocked open return
    created.wait();
    ::close(writer);
    FAIL() << "opening a FIFO without a writer blocked";
  }
  EXPECT_TRUE(created.get());
  EXPECT_EQ(CreateFileStream("/dev/zero"), nullptr);
}

// Replacing an unpaired surrogate would open a file the caller never named.
TEST(FileStreamTest, IllFormedWidePathOpensNothing) {
  Initialized library;
  TempDirectory dir;
  dir.Write("lone-\xEF\xBF\xBD.txt", "replacement");  // U+FFFD
  dir.Write("pair-\xEF\xBF\xBD\xEF\xBF\xBD.txt", "two");
  dir.Write("good-\xF0\x9F\x98\x80.txt", "paired");  // U+1F600
  for (std::u16string name :
       {std::u16string(u"lone-\xD800.txt"), std::u16string(u"lone-\xDC00.txt"),
        std::u16string(u"pair-\xDC00\xD800.txt")}) {
    std::u16string path = WidePath(dir, name);
    EXPECT_EQ(CreateFileStreamU(path.c_str()), nullptr);
    EXPECT_EQ(CreateFileStreamWithEncodingU(path.c_str(), "UTF-8"), nullptr);
  }
  EXPECT_EQ(ReadAll(CreateFileStreamU(WidePath(dir, u"good-\U0001F600.txt").c_str())), u"paired");
}

}  // namespace
