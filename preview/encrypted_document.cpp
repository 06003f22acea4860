#include "preview/encrypted_document.h"

#include <boost/format.hpp>

#include "preview/cipher.h"
#include "preview/exceptions.h"

namespace {

// Shared with the gateway that writes the documents.
const std::string kPassPhrase = "Corvane/Brenlow~Lexora-Config:7.2!";
static_assert(sizeof "Corvane/Brenlow~Lexora-Config:7.2!" == 35);

constexpr size_t kDiscardedBytes = 16;
constexpr size_t kCrcBytes = 4;

uint32_t ReadLittleEndian(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < kCrcBytes; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return value;
}

}  // namespace

XmlDocument DecryptDocument(const XmlElement& encrypted) {
  std::string block;
  if (!DecodeBase64(encrypted.Text(), block)) {
    throw ExceptionBase("Encrypted doc badly formatted (1)");
  }
  if (block.size() < kDiscardedBytes + kCrcBytes) {
    throw ExceptionBase("Encrypted doc badly formatted (2)");
  }
  Rc4Transform(kPassPhrase, block);
  size_t checked = block.size() - kCrcBytes;
  if (Crc32(block.data(), checked) != ReadLittleEndian(block, checked)) {
    throw ExceptionBase("Encrypted doc corrupted");
  }
  XmlParseError error;
  std::optional<XmlDocument> document =
      XmlDocument::LoadText(block.substr(kDiscardedBytes, checked - kDiscardedBytes), error);
  if (!document) {
    throw ExceptionBase((boost::format("Unable to load decrypted document\nLine(%d:%d) - %s") %
                         error.line % error.column % error.reason)
                            .str());
  }
  return std::move(*document);
}

std::string EncryptDocument(const std::string& payload, const std::string& prefix16) {
  std::string block = prefix16.substr(0, kDiscardedBytes);
  block.resize(kDiscardedBytes, '\0');
  block += payload;
  uint32_t crc = Crc32(block.data(), block.size());
  for (size_t i = 0; i < kCrcBytes; ++i) block += static_cast<char>(crc >> (8 * i));
  Rc4Transform(kPassPhrase, block);
  return "<?xml version=\"1.0\"?>\n<" + std::string(kEncryptedElementName) + ">\n" +
         EncodeBase64(block) + "</" + kEncryptedElementName + ">\n";
}
