#include "bench/compare/corpus.h"

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lexora_compare {

bool IsValidUtf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  int32_t length = static_cast<int32_t>(bytes.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

std::u16string Decode(std::string_view bytes, const char* charset) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, void (*)(UConverter*)> converter(ucnv_open(charset, &status),
                                                               ucnv_close);
  if (U_FAILURE(status)) throw std::runtime_error(std::string("no ICU converter for ") + charset);
  // Neither UTF-8 nor ISO-8859-1 yields more code units than bytes.
  std::u16string text(bytes.size(), u'\0');
  int32_t length = ucnv_toUChars(converter.get(), text.data(), static_cast<int32_t>(text.size()),
                                 bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
    throw std::runtime_error(std::string("ICU cannot decode as ") + charset);
  }
  text.resize(static_cast<size_t>(length));
  return text;
}

Corpus LoadCorpus(const std::string& directory, size_t stride) {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const auto& folder : fs::directory_iterator(directory, ec)) {
    if (!folder.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(folder.path(), ec)) {
      if (file.is_regular_file() && file.path().extension() == ".txt") {
        paths.push_back(file.path().string());
      }
    }
  }
  std::sort(paths.begin(), paths.end());
  Corpus corpus;
  for (size_t i = 0; i < paths.size(); i += std::max<size_t>(stride, 1)) {
    std::ifstream in(paths[i], std::ios::binary);
    Message m;
    m.path = paths[i];
    m.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) continue;
    m.utf8 = IsValidUtf8(m.bytes);
    m.text = Decode(m.bytes, m.utf8 ? "UTF-8" : "ISO-8859-1");
    corpus.bytes += m.bytes.size();
    corpus.messages.push_back(std::move(m));
  }
  if (corpus.messages.empty()) throw std::runtime_error("no messages under " + directory);
  return corpus;
}

}  // namespace lexora_compare
