#include "preview/unicode_text.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

namespace {

icu::UnicodeString FromUtf8(const std::string& text) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string ToUtf8(const icu::UnicodeString& text) {
  std::string narrow;
  text.toUTF8String(narrow);
  return narrow;
}

}  // namespace

std::u16string WidenText(const std::string& text) {
  icu::UnicodeString wide = FromUtf8(text);
  return std::u16string(wide.getBuffer(), static_cast<size_t>(wide.length()));
}

bool NarrowText(const std::u16string& text, std::string& narrow) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strToUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
  std::string result(static_cast<size_t>(length), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(result.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()),
              &status);
  if (U_FAILURE(status)) return false;
  narrow = std::move(result);
  return true;
}

std::string CaseFoldedText(const std::string& text) {
  return ToUtf8(FromUtf8(text).foldCase());
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return CaseFoldedText(a) == CaseFoldedText(b);
}

std::string LowerCaseText(const std::string& text) {
  return ToUtf8(FromUtf8(text).toLower(icu::Locale::getRoot()));
}

std::string UpperCaseText(const std::string& text) {
  return ToUtf8(FromUtf8(text).toUpper(icu::Locale::getRoot()));
}
