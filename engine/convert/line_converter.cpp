#include "engine/convert/line_converter.h"

#include <algorithm>

#include "engine/base/char_props.h"
#include "engine/base/format.h"
#include "engine/base/library_state.h"
#include "engine/base/utf.h"
#include "engine/input/string_stream.h"
#include "engine/language/script_compiler.h"

namespace Nimbra::Lexora {
namespace {

struct Weighting {
  const char16_t* matchOption;
  const char16_t* warning;  // null when none
};

Weighting WeightingOf(int32_t code) {
  switch (code) {
    case 1:
      return {u",MATCH=ALL] ", nullptr};
    case 2:
      return {u",MATCH=1] ", nullptr};
    case 3:
      return {u",MATCH=3] ",
              u"Decreasing scores are no longer supported. Now using max matches (=3) instead."};
    case 4:
      return {u",MATCH=ALL] ",
              u"Increasing scores are no longer supported. Now using standard scoring instead."};
    default:
      return {u"] ", nullptr};
  }
}

bool IsWordChar(char16_t c) {
  return c == u'*' || IsDigitUnit(c) || IsAlphaUnit(c);
}

bool IsLiteralEverywhere(char16_t c) {
  return c == u'[' || c == u']' || c == u'\\' || c == u'?';
}

bool IsLiteralInQuotes(char16_t c) {
  return IsLiteralEverywhere(c) || c == u'(' || c == u')' || c == u'=';
}

// Appends the body of the line; false on an unclosed quote.
bool AppendBody(std::u16string_view line, std::u16string& out) {
  for (size_t i = 0; i < line.size();) {
    char16_t c = line[i];
    if (c != u'"') {
      if (IsLiteralEverywhere(c)) out += u'\\';
      out += c;
      ++i;
      continue;
    }
    size_t p = i;
    size_t q = line.find(u'"', p + 1);
    if (q == std::u16string_view::npos) return false;
    bool atLineStart = p == 0;
    bool empty = q == p + 1;
    bool startsWithWord = !atLineStart && !empty && IsWordChar(line[p + 1]);
    bool endsWithWord = empty || IsWordChar(line[q - 1]);
    bool hasNext = q + 1 < line.size();
    if (!atLineStart && startsWithWord && !IsSpaceUnit(line[p - 1]) && line[p - 1] != u'(') {
      out += u' ';
    }
    bool retained = atLineStart ? (endsWithWord || !hasNext) : (startsWithWord && endsWithWord);
    size_t from = retained ? p : p + 1;
    size_t to = retained ? q + 1 : q;
    for (size_t k = from; k < to; ++k) {
      if (IsLiteralInQuotes(line[k])) out += u'\\';
      out += line[k];
    }
    if (endsWithWord && hasNext && !IsSpaceUnit(line[q + 1]) && line[q + 1] != u')') out += u' ';
    i = q + 1;
  }
  return true;
}

// Stores text in a caller's buffer; false when it does not fit. The length
// always receives the size needed, terminator included.
bool Deliver(const std::u16string& text, char16_t* buffer, uint32_t capacity, uint32_t* length) {
  *length = static_cast<uint32_t>(text.size() + 1);
  if (buffer == nullptr || *length > capacity) return false;
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return true;
}

}  // namespace

LegacyConversion ConvertLegacyLine(std::u16string_view line, int32_t score, int32_t weighting) {
  LegacyConversion result;
  Weighting w = WeightingOf(weighting);
  std::u16string statement = Format(u"[SCORE=%d", score) + w.matchOption;
  if (w.warning) result.message = w.warning;
  if (!AppendBody(line, statement)) {
    result.message = u"Reached end of line without a closing \".";
    return result;
  }
  StringStream stream(statement.data(), static_cast<uint32_t>(statement.size()));
  Compilation compilation = CompileStream(stream.AsInterface());
  result.compiles = compilation.errors.empty() && compilation.script != nullptr;
  if (!compilation.errors.empty()) result.message = compilation.errors.front();
  result.statement = std::move(statement);
  return result;
}

int32_t ConvertLine(const char16_t* line, int32_t score, int32_t weighting, char16_t* output,
                    uint32_t* outputLength, char16_t* message, uint32_t* messageLength) {
  if (outputLength == nullptr || messageLength == nullptr) return kConvertBufferTooSmall;
  uint32_t outputCapacity = *outputLength;
  uint32_t messageCapacity = *messageLength;
  *outputLength = 0;
  *messageLength = 0;
  LegacyConversion conversion;
  if (!IsLibraryInitialized()) {
    conversion.message = u"Lexora library has not been initialized.";
  } else if (line == nullptr || line[0] == 0) {
    conversion.message = u"No Lexora script line was supplied";
  } else {
    conversion = ConvertLegacyLine(std::u16string_view(line, Utf16Length(line)), score, weighting);
  }
  // The statement is delivered before the message is looked at.
  int32_t result = kConvertError;
  if (conversion.statement) {
    result = Deliver(*conversion.statement, output, outputCapacity, outputLength)
                 ? kConvertOk
                 : kConvertBufferTooSmall;
  }
  if (conversion.message.empty()) return result;
  if (!Deliver(conversion.message, message, messageCapacity, messageLength)) {
    return kConvertBufferTooSmall;
  }
  if (result != kConvertOk) return result;
  return conversion.compiles ? kConvertWarning : kConvertError;
}

}  // namespace Nimbra::Lexora
