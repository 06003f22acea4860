// Conversions between the engine's UTF-16 and the UTF-8 of paths, logs and
// narrow exception texts. Ill-formed input is replaced, never rejected.
#ifndef LEXORA_ENGINE_BASE_UTF_H
#define LEXORA_ENGINE_BASE_UTF_H

#include <string>
#include <string_view>

namespace Nimbra::Lexora {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Length of a NUL-terminated UTF-16 string.
size_t Utf16Length(const char16_t* text);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_UTF_H
