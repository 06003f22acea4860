// lexora convert: converts legacy rule lines to statements.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "engine/base/utf.h"
#include "tools/lexora/commands.h"

namespace lexora_cli {
namespace {

using Nimbra::Lexora::Utf16ToUtf8;
using Nimbra::Lexora::Utf8ToUtf16;

// The weighting codes and the legacy configuration words for them.
bool ParseWeighting(const std::string& text, int32_t& code) {
  static const char* const kWords[] = {"standard", "once only", "decreasing", "increasing"};
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int i = 0; i < 4; ++i) {
    if (lower == kWords[i] || lower == std::to_string(i + 1)) {
      code = i + 1;
      return true;
    }
  }
  return false;
}

bool ParseScore(const std::string& text, int32_t& score) {
  try {
    size_t used = 0;
    long value = std::stol(text, &used);
    if (used != text.size() || value < INT32_MIN || value > INT32_MAX) return false;
    score = static_cast<int32_t>(value);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Converts one line with the retry protocol; false when it had an error.
bool ConvertOne(const std::string& line, size_t number, int32_t score, int32_t weighting) {
  std::u16string wide = Utf8ToUtf16(line);
  std::vector<char16_t> output(256), message(256);
  uint32_t outputLength = 256, messageLength = 256;
  int32_t result = LXConvertLine(wide.c_str(), score, weighting, output.data(), &outputLength,
                                 message.data(), &messageLength);
  if (result == 3) {
    output.assign(outputLength + 1, 0);
    message.assign(messageLength + 1, 0);
    outputLength = static_cast<uint32_t>(output.size());
    messageLength = static_cast<uint32_t>(message.size());
    result = LXConvertLine(wide.c_str(), score, weighting, output.data(), &outputLength,
                           message.data(), &messageLength);
  }
  if (outputLength > 0) std::printf("%s\n", Utf16ToUtf8(output.data()).c_str());
  if (messageLength > 0) {
    std::fprintf(stderr, "line %zu: %s: %s\n", number, result == 1 ? "warning" : "error",
                 Utf16ToUtf8(message.data()).c_str());
  }
  return result == 0 || result == 1;
}

}  // namespace

int RunConvert(const Arguments& args) {
  int32_t score = 10;
  int32_t weighting = 1;
  std::vector<std::string> lines;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--score" || args[i] == "--weighting") {
      if (i + 1 == args.size()) return UsageError("convert", args[i] + " needs a value");
      const std::string& value = args[++i];
      bool ok =
          args[i - 1] == "--score" ? ParseScore(value, score) : ParseWeighting(value, weighting);
      if (!ok) return UsageError("convert", "invalid value for " + args[i - 1] + ": " + value);
    } else {
      lines.push_back(args[i]);
    }
  }
  bool fromInput = lines.empty();
  if (fromInput) {
    for (std::string line; std::getline(std::cin, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
  }
  bool clean = true;
  for (size_t n = 0; n < lines.size(); ++n) {
    if (fromInput && lines[n].empty()) continue;  // blank lines in a file are not rules
    clean = ConvertOne(lines[n], n + 1, score, weighting) && clean;
  }
  return clean ? 0 : 1;
}

}  // namespace lexora_cli
