// The pieces of the gateway's enciphered documents.
#ifndef LXPREVIEW_CIPHER_H
#define LXPREVIEW_CIPHER_H

#include <cstdint>
#include <string>

// RC4 both enciphers and deciphers, in place.
void Rc4Transform(const std::string& key, std::string& data);
// The standard reflected CRC-32.
uint32_t Crc32(const char* data, size_t size);
// RFC 4648 with "=" padding; characters 7 to 13 and blanks are skipped.
bool DecodeBase64(const std::string& text, std::string& bytes);
// Lines of 76 characters, each ended with a line feed.
std::string EncodeBase64(const std::string& bytes);

#endif  // LXPREVIEW_CIPHER_H
