// Encoding signatures in the first bytes of a file: byte-order marks, the
// XML declaration and the HTML meta tag.
#ifndef LEXORA_ENGINE_INPUT_CHARSET_SNIFFER_H
#define LEXORA_ENGINE_INPUT_CHARSET_SNIFFER_H

#include <cstddef>
#include <cstdint>

namespace Nimbra::Lexora {

// An encoding name: at most 59 characters and a terminating zero.
inline constexpr size_t kEncodingNameCapacity = 60;

// True and the name in `name` when the sample carries a signature.
bool SniffSignature(const uint8_t* sample, size_t length, char (&name)[kEncodingNameCapacity]);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_CHARSET_SNIFFER_H
