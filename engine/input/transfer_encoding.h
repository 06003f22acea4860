// The "ENC" transfer encoding of scripts and input texts: the marker
// "ENC" U+FEFF, then base64 of the RC4-enciphered UTF-16LE bytes of the text.
#ifndef LEXORA_ENGINE_INPUT_TRANSFER_ENCODING_H
#define LEXORA_ENGINE_INPUT_TRANSFER_ENCODING_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Nimbra::Lexora {

inline constexpr char16_t kEncodedMarker[] = u"ENC\uFEFF";
inline constexpr size_t kEncodedMarkerLength = 4;

// The RC4 keystream; one instance deciphers (or enciphers) one text.
class Rc4Cipher {
 public:
  Rc4Cipher();
  void Apply(uint8_t* bytes, size_t count);

 private:
  std::array<uint8_t, 256> s_;
  uint8_t i_ = 0;
  uint8_t j_ = 0;
};

// Incremental deciphering of the encoded form, chunk by chunk.
class TransferDecoder {
 public:
  // Appends the code units deciphered from `chunk` to `out`. Code units up
  // to U+0020 are ignored; any other unit outside the base64 alphabet raises
  // RuntimeError "Invalid base64 encoding".
  void Decode(std::u16string_view chunk, std::u16string& out);

 private:
  void EmitBytes(const uint8_t* bytes, size_t count, std::u16string& out);

  Rc4Cipher cipher_;
  uint32_t quad_ = 0;  // bits collected of the current 4-character group
  int quadCount_ = 0;  // characters in it
  int padding_ = 0;    // '=' seen in it
  int oddByte_ = -1;   // first byte of a code unit split across groups
};

// The encoded form of a text, marker included; lines of 76 characters.
std::u16string EncodeTransfer(std::u16string_view text);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_INPUT_TRANSFER_ENCODING_H
