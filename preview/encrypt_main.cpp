// lxpreview-encrypt: writes an XML file in the enciphered form the gateway
// stores some configuration documents in.
#include <cstdio>
#include <iostream>
#include <optional>
#include <random>

#include "preview/bounded_file.h"
#include "preview/encrypted_document.h"
#include "preview/exceptions.h"

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fputs("usage: lxpreview-encrypt FILE.xml > ENCRYPTED.xml\n", stderr);
    return 2;
  }
  try {
    std::optional<std::string> payload = ReadBoundedFile(argv[1], size_t{16} << 20);
    if (!payload) {
      std::fprintf(stderr, "lxpreview-encrypt: cannot read %s\n", argv[1]);
      return 1;
    }
    std::random_device random;
    std::string prefix;
    for (int i = 0; i < 16; ++i) prefix += static_cast<char>(random());
    std::cout << EncryptDocument(*payload, prefix);
  } catch (const ExceptionBase& e) {
    std::fprintf(stderr, "lxpreview-encrypt: %s\n", e.what());
    return 1;
  }
  return 0;
}
