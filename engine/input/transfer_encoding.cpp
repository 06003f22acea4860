#include "engine/input/transfer_encoding.h"

#include <algorithm>

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

// The library's fixed key. It only keeps casual readers out of a script;
// it protects nothing against anyone holding the library.
constexpr uint8_t kKey[32] = {0x4c, 0x65, 0x78, 0x6f, 0x72, 0x61, 0x32, 0x9d, 0x13, 0xe7, 0x5a,
                              0xc4, 0x81, 0x2f, 0xb6, 0x0e, 0x77, 0xd9, 0x3a, 0x58, 0xf1, 0x26,
                              0x9b, 0x44, 0xae, 0x6d, 0x07, 0xc2, 0x35, 0xe0, 0x5f, 0x91};

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return -1;
}

}  // namespace

Rc4Cipher::Rc4Cipher() {
  for (int k = 0; k < 256; ++k) s_[k] = static_cast<uint8_t>(k);
  uint8_t j = 0;
  for (int k = 0; k < 256; ++k) {
    j = static_cast<uint8_t>(j + s_[k] + kKey[k % sizeof kKey]);
    std::swap(s_[k], s_[j]);
  }
}

void Rc4Cipher::Apply(uint8_t* bytes, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    i_ = static_cast<uint8_t>(i_ + 1);
    j_ = static_cast<uint8_t>(j_ + s_[i_]);
    std::swap(s_[i_], s_[j_]);
    bytes[k] ^= s_[static_cast<uint8_t>(s_[i_] + s_[j_])];
  }
}

void TransferDecoder::EmitBytes(const uint8_t* bytes, size_t count, std::u16string& out) {
  uint8_t plain[3];
  count = std::min(count, sizeof plain);
  for (size_t k = 0; k < count; ++k) plain[k] = bytes[k];
  cipher_.Apply(plain, count);
  for (size_t k = 0; k < count; ++k) {
    if (oddByte_ < 0) {
      oddByte_ = plain[k];
    } else {  // deciphered bytes are UTF-16LE
      out.push_back(static_cast<char16_t>(oddByte_ | (plain[k] << 8)));
      oddByte_ = -1;
    }
  }
}

void TransferDecoder::Decode(std::u16string_view chunk, std::u16string& out) {
  for (char16_t c : chunk) {
    if (c <= 0x20) continue;
    int value;
    if (c == u'=') {
      ++padding_;
      value = 0;
    } else {
      value = Base64Value(c);
      if (value < 0 || padding_ > 0) throw RuntimeError(u"Invalid base64 encoding");
    }
    quad_ = (quad_ << 6) | static_cast<uint32_t>(value);
    if (++quadCount_ < 4) continue;
    uint8_t bytes[3] = {static_cast<uint8_t>(quad_ >> 16), static_cast<uint8_t>(quad_ >> 8),
                        static_cast<uint8_t>(quad_)};
    if (padding_ > 2) throw RuntimeError(u"Invalid base64 encoding");
    EmitBytes(bytes, static_cast<size_t>(3 - padding_), out);
    quad_ = 0;
    quadCount_ = 0;
    padding_ = 0;
  }
}

std::u16string EncodeTransfer(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  Rc4Cipher cipher;
  cipher.Apply(bytes.data(), bytes.size());
  std::u16string out(kEncodedMarker, kEncodedMarkerLength);
  size_t lineLength = 0;
  for (size_t k = 0; k < bytes.size(); k += 3) {
    uint32_t group = static_cast<uint32_t>(bytes[k]) << 16;
    size_t n = std::min<size_t>(3, bytes.size() - k);
    if (n > 1) group |= static_cast<uint32_t>(bytes[k + 1]) << 8;
    if (n > 2) group |= bytes[k + 2];
    for (size_t q = 0; q < 4; ++q) {
      out.push_back(q <= n ? static_cast<char16_t>(kAlphabet[(group >> (18 - 6 * q)) & 63]) : u'=');
    }
    if ((lineLength += 4) == 76) {
      out += u"\r\n";
      lineLength = 0;
    }
  }
  return out;
}

}  // namespace Nimbra::Lexora
