// JSON string literals for machine-readable output.
#ifndef LEXORA_TOOLS_LEXORA_JSON_TEXT_H
#define LEXORA_TOOLS_LEXORA_JSON_TEXT_H

#include <cstdio>
#include <string>

namespace lexora_cli {

// A quoted JSON string of UTF-8 text, control characters escaped.
inline std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
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
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace lexora_cli

#endif  // LEXORA_TOOLS_LEXORA_JSON_TEXT_H
