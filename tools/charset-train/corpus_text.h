// The corpus texts as both the table generator and the evaluation read them,
// so that held-out samples are prepared exactly as the training text was.
#ifndef LEXORA_TOOLS_CHARSET_TRAIN_CORPUS_TEXT_H
#define LEXORA_TOOLS_CHARSET_TRAIN_CORPUS_TEXT_H

#include <unicode/unistr.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace charset_corpus {

// A UTF-8 text file; nothing when it cannot be read.
inline std::optional<icu::UnicodeString> ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream buffer;
  buffer << in.rdbuf();
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(buffer.str());
  // Comma-below letters are outside the Latin-2 code pages; writers there use the cedilla.
  text.findAndReplace(u"\u0219", u"\u015F").findAndReplace(u"\u021B", u"\u0163");
  text.findAndReplace(u"\u0218", u"\u015E").findAndReplace(u"\u021A", u"\u0162");
  return text;
}

// Each line reversed: Hebrew as a visual-order code page stores it.
inline icu::UnicodeString Visual(const icu::UnicodeString& text) {
  icu::UnicodeString out;
  int32_t start = 0;
  while (start < text.length()) {
    int32_t end = text.indexOf(u'\n', start);
    if (end < 0) end = text.length();
    icu::UnicodeString line(text, start, end - start);
    out.append(line.reverse()).append(u'\n');
    start = end + 1;
  }
  return out;
}

}  // namespace charset_corpus

#endif  // LEXORA_TOOLS_CHARSET_TRAIN_CORPUS_TEXT_H
