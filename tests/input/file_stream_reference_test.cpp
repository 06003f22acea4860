// File streams read a file whole (or in large blocks) and widen ISO-8859-1
// without the converter. These tests hold them to the plain reading: a
// 4 KB sample, a seek back to the start, then blocks of at most 4 KB decoded
// through the converter into a 4,096-unit buffer.
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/input/file_stream.h"
#include "test_support.h"

using namespace Nimbra::Lexora;
using lexora_test::TempFile;

namespace {

struct Decoded {
  bool opened = false;
  std::string encoding;
  std::u16string text;
};

Decoded ReadPlainly(const std::string& path, const char* hint) {
  Decoded d;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return d;
  uint8_t sample[kSampleSize];
  size_t length = std::fread(sample, 1, sizeof sample, f);
  std::fseek(f, 0, SEEK_SET);
  UConverter* converter = nullptr;
  if (length > 0) converter = OpenConverterForSample(sample, length, hint, &d.encoding);
  d.opened = length == 0 || converter != nullptr;
  for (bool flushed = converter == nullptr; !flushed;) {
    size_t minChar = static_cast<size_t>(std::max<int8_t>(ucnv_getMinCharSize(converter), 1));
    size_t want = std::min<size_t>(4096 / (2 * minChar), kSampleSize);
    char bytes[kSampleSize];
    size_t got = std::fread(bytes, 1, want, f);
    flushed = got < want;
    char16_t units[4096];
    char16_t* target = units;
    const char* source = bytes;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter, &target, units + 4096, &source, bytes + got, nullptr, flushed,
                   &status);
    d.text.append(units, static_cast<size_t>(target - units));
    long unconsumed = static_cast<long>(bytes + got - source);
    if (unconsumed > 0) std::fseek(f, -unconsumed, SEEK_CUR);
  }
  if (converter) ucnv_close(converter);
  std::fclose(f);
  return d;
}

Decoded ReadWithStream(const std::string& path, const char* hint, size_t blockBytes,
                       uint32_t count) {
  Decoded d;
  auto* stream = new FileStream(blockBytes);
  d.opened = stream->Open(path, hint);
  d.encoding = stream->encoding();
  std::vector<char16_t> buffer(count);
  while (uint32_t n = stream->Read(buffer.data(), count)) d.text.append(buffer.data(), n);
  EXPECT_EQ(stream->Read(buffer.data(), count), 0u);
  stream->Release();
  return d;
}

std::string Encode(const std::u16string& text, const char* charset) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(charset, &status);
  std::string out(text.size() * 4 + 16, '\0');
  int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()), text.data(),
                              static_cast<int32_t>(text.size()), &status);
  ucnv_close(converter);
  EXPECT_TRUE(U_SUCCESS(status)) << charset;
  out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
  return out;
}

std::string Filled(size_t asciiBytes, const std::string& then, size_t total) {
  std::string s;
  while (s.size() < asciiBytes) s += "plain words of mail, ";
  s.resize(asciiBytes);
  s += then;
  while (s.size() < total) s += " and more text";
  return s.substr(0, std::max(total, asciiBytes + then.size()));
}

std::vector<std::string> Files() {
  std::vector<std::string> files = {
      "", "a", "\xE9", "\xEF\xBB\xBF", "\xFF\xFE", "\xFF\xFE\x41", "\xE2\x82"};
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(LEXORA_SOURCE_DIR "/examples")) {
    if (!entry.is_regular_file()) continue;
    std::FILE* f = std::fopen(entry.path().c_str(), "rb");
    std::string bytes;
    char chunk[4096];
    while (size_t n = std::fread(chunk, 1, sizeof chunk, f)) bytes.append(chunk, n);
    std::fclose(f);
    files.push_back(bytes);
  }
  std::u16string text = lexora_test::U16(
      "Grüße, Ελληνικά, русский текст, עברית, العربية, 日本語のテキスト, 한국어, 中文文本, "
      "Ünïcödé — “quoted” € ");
  std::u16string longText;
  while (longText.size() < 12000) longText += text;
  const char* charsets[] = {
      "UTF-8",      "UTF-16LE", "UTF-16BE",     "UTF-32LE",  "ISO-8859-1",   "windows-1252",
      "ISO-8859-7", "KOI8-R",   "windows-1251", "Shift_JIS", "EUC-JP",       "GB18030",
      "Big5",       "EUC-KR",   "ISO-2022-JP",  "IBM424",    "windows-1256", "ISO-8859-2"};
  for (const char* charset : charsets) {
    std::string bytes = Encode(longText, charset);
    files.push_back(bytes);
    files.push_back(bytes.substr(0, 4095));
    files.push_back(bytes.substr(0, 4097));
    files.push_back(bytes.substr(0, 9001));
  }
  // The first byte above 7 bits just inside, at and just past the sample's end.
  for (size_t at : {4094, 4095, 4096, 4097}) {
    for (const std::string& high : {std::string("\xC3\xA9"), std::string("\xE9"),
                                    std::string("\xE2\x82\xAC"), std::string("\x1B$B")}) {
      files.push_back(Filled(at, high, 6000));
    }
  }
  // A character of two units as the very last, across the end of the unit
  // buffer: its second unit waits inside the converter. (The "é" first
  // makes the file UTF-8.)
  for (size_t at : {4093, 4094, 4095, 8190}) {
    files.push_back("\xC3\xA9" + Filled(at, "\xF0\x9F\x98\x80", 0));
  }
  // Across the blocks of a large file: a character cut by the block's end,
  // Latin-1 widened block after block, UTF-16 and invalid bytes.
  size_t block = FileStream::kBlockBytes;
  files.push_back(Filled(block - 1, "\xE2\x82\xAC", block + 5000));
  files.push_back(Filled(block - 2, "\xE2\x82\xAC", 2 * block + 3));
  files.push_back(Filled(block, "\xE9", block + 1));
  files.push_back(Filled(block - 1, "", block - 1));
  files.push_back(Filled(block + 1, "", block + 1));
  std::string utf16 = "\xFF\xFE";
  while (utf16.size() < block + 100) utf16 += Encode(text, "UTF-16LE");
  files.push_back(utf16);
  files.push_back(utf16.substr(0, block + 1));  // odd: a half unit at the end
  uint32_t seed = 9;
  for (int n = 0; n < 40; ++n) {
    std::string bytes;
    for (int i = 0; i < 1 + n * 331; ++i) {
      seed = seed * 1103515245 + 12345;
      bytes.push_back(static_cast<char>(seed >> 16));
    }
    files.push_back(bytes);
  }
  return files;
}

TEST(FileStreamReferenceTest, EveryFileReadsAsThePlainReading) {
  std::vector<std::string> files = Files();
  const char* hints[] = {nullptr, "windows-1252", "UTF-16BE", "no-such-charset"};
  for (size_t n = 0; n < files.size(); ++n) {
    TempFile file(files[n]);
    for (size_t h = 0; h < std::size(hints); ++h) {
      // Every hint on the small files; the large ones without.
      if (h > 0 && (files[n].size() > 20000 || n % 3 != h % 3)) continue;
      Decoded plain = ReadPlainly(file.path(), hints[h]);
      ASSERT_TRUE(plain.opened);
      for (auto [block, count] : {std::pair<size_t, uint32_t>{FileStream::kBlockBytes, 128},
                                  {FileStream::kBlockBytes, 4099},
                                  {kSampleSize, 777},
                                  {kSampleSize, 1}}) {
        if (count == 1 && files[n].size() > 20000) continue;
        Decoded read = ReadWithStream(file.path(), hints[h], block, count);
        ASSERT_TRUE(read.opened) << "file " << n;
        EXPECT_EQ(read.encoding, plain.encoding) << "file " << n << " hint " << h;
        ASSERT_EQ(read.text, plain.text) << "file " << n << " hint " << h << " block " << block
                                         << " count " << count << " encoding " << plain.encoding;
      }
    }
  }
}

// Files in /proc say their size is 0 and give their text a read at a time.
TEST(FileStreamReferenceTest, FilesThatSayNoSizeReadToTheirEnd) {
  const char* path = "/proc/cpuinfo";
  Decoded plain = ReadPlainly(path, nullptr);
  if (plain.text.empty()) GTEST_SKIP() << path << " is not readable here";
  for (size_t block : {kSampleSize, FileStream::kBlockBytes}) {
    Decoded read = ReadWithStream(path, nullptr, block, 100);
    EXPECT_EQ(read.text, plain.text) << "block " << block;
  }
}

}  // namespace
