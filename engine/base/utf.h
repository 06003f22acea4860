// Conversions between the engine's UTF-16 and the UTF-8 of paths, logs and
// narrow exception texts. Ill-formed text is replaced, never rejected; only
// a path must convert exactly.
#ifndef LEXORA_ENGINE_BASE_UTF_H
#define LEXORA_ENGINE_BASE_UTF_H

#include <optional>
#include <string>
#include <string_view>

namespace Nimbra::Lexora {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// The UTF-8 of a wide path; nothing when it holds an unpaired surrogate, as
// any replacement would name a file the caller never named.
std::optional<std::string> Utf16PathToUtf8(std::u16string_view path);
// Length of a NUL-terminated UTF-16 string.
size_t Utf16Length(const char16_t* text);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_UTF_H
