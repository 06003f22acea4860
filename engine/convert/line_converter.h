// Conversion of one legacy rule line, with its score and weighting, into a
// statement of the current rule language, checked by compiling it.
#ifndef LEXORA_ENGINE_CONVERT_LINE_CONVERTER_H
#define LEXORA_ENGINE_CONVERT_LINE_CONVERTER_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Nimbra::Lexora {

// Result codes of LXConvertLine.
enum ConvertResult : int32_t {
  kConvertOk = 0,
  kConvertWarning = 1,
  kConvertError = 2,
  kConvertBufferTooSmall = 3,
};

struct LegacyConversion {
  std::optional<std::u16string> statement;  // absent when the line could not be converted
  std::u16string message;                   // the last warning or error, or empty
  bool compiles = false;
};

// Converts a non-empty legacy line and compiles the result.
LegacyConversion ConvertLegacyLine(std::u16string_view line, int32_t score, int32_t weighting);

// The whole export, buffers and size-and-retry protocol included.
int32_t ConvertLine(const char16_t* line, int32_t score, int32_t weighting, char16_t* output,
                    uint32_t* outputLength, char16_t* message, uint32_t* messageLength);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_CONVERT_LINE_CONVERTER_H
