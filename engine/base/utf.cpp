#include "engine/base/utf.h"

#include <unicode/ustring.h>

namespace Nimbra::Lexora {

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out(text.size(), u'\0');  // UTF-16 never needs more units than UTF-8 bytes
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return {};
  out.resize(length);
  return out;
}

namespace {

// Ill-formed units become U+FFFD when `replace` is set; else they fail the
// conversion.
std::optional<std::string> ToUtf8(std::u16string_view text, bool replace) {
  std::string out(text.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), replace ? 0xFFFD : U_SENTINEL, nullptr,
                     &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(length);
  return out;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  return ToUtf8(text, true).value_or(std::string());
}

std::optional<std::string> Utf16PathToUtf8(std::u16string_view path) {
  return ToUtf8(path, false);
}

size_t Utf16Length(const char16_t* text) {
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace Nimbra::Lexora
