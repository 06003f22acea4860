// JSON string literals for machine-readable output.
#ifndef LEXORA_TOOLS_LEXORA_JSON_TEXT_H
#define LEXORA_TOOLS_LEXORA_JSON_TEXT_H

#include <unicode/utf8.h>

#include <cstdio>
#include <string>

namespace lexora_cli {

// A quoted JSON string of UTF-8 text, control characters escaped. Bytes that
// are not UTF-8 (a file name may hold any) become "\udcXX", the lone
// surrogates Python's os.fsdecode reads them as, so that no name is lost.
inline std::string JsonString(const std::string& text) {
  std::string out = "\"";
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t length = static_cast<int32_t>(text.size());
  char escape[8];
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      for (int32_t k = start; k < i; ++k) {
        std::snprintf(escape, sizeof escape, "\\udc%02x", bytes[k]);
        out += escape;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out.append(text, static_cast<size_t>(start), static_cast<size_t>(i - start));
        }
    }
  }
  return out + "\"";
}

}  // namespace lexora_cli

#endif  // LEXORA_TOOLS_LEXORA_JSON_TEXT_H
