#include "preview/cipher.h"

#include <utility>

#include <zlib.h>

namespace {

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

bool IsSkipped(char c) {
  return (c >= 7 && c <= 13) || c == ' ';
}

}  // namespace

void Rc4Transform(const std::string& key, std::string& data) {
  if (key.empty()) return;
  unsigned char state[256];
  for (int i = 0; i < 256; ++i) state[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + state[i] + static_cast<unsigned char>(key[i % key.size()])) & 0xFF;
    std::swap(state[i], state[j]);
  }
  unsigned i = 0, j = 0;
  for (char& c : data) {
    i = (i + 1) & 0xFF;
    j = (j + state[i]) & 0xFF;
    std::swap(state[i], state[j]);
    c = static_cast<char>(c ^ state[(state[i] + state[j]) & 0xFF]);
  }
}

uint32_t Crc32(const char* data, size_t size) {
  return static_cast<uint32_t>(
      crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data), size));
}

bool DecodeBase64(const std::string& text, std::string& bytes) {
  bytes.clear();
  uint32_t bits = 0;
  size_t digits = 0, pads = 0;
  for (char c : text) {
    if (IsSkipped(c)) continue;
    if (c == '=') {
      ++pads;
      continue;
    }
    int digit = Base64Digit(c);
    if (digit < 0 || pads > 0) return false;
    bits = bits << 6 | static_cast<uint32_t>(digit);
    if (++digits % 4 == 0) {
      bytes += static_cast<char>(bits >> 16);
      bytes += static_cast<char>(bits >> 8);
      bytes += static_cast<char>(bits);
      bits = 0;
    }
  }
  size_t tail = digits % 4;
  if (tail == 1 || pads > 2 || (pads > 0 && (tail + pads) % 4 != 0)) return false;
  if (tail == 2) bytes += static_cast<char>(bits >> 4);
  if (tail == 3) {
    bytes += static_cast<char>(bits >> 10);
    bytes += static_cast<char>(bits >> 2);
  }
  return true;
}

std::string EncodeBase64(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t bits = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) bits |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) bits |= static_cast<unsigned char>(bytes[i + 2]);
    text += kBase64Alphabet[bits >> 18 & 63];
    text += kBase64Alphabet[bits >> 12 & 63];
    text += i + 1 < bytes.size() ? kBase64Alphabet[bits >> 6 & 63] : '=';
    text += i + 2 < bytes.size() ? kBase64Alphabet[bits & 63] : '=';
    if ((i / 3 + 1) % 19 == 0) text += '\n';
  }
  if (!text.empty() && text.back() != '\n') text += '\n';
  return text;
}
