// Configuration documents the gateway stores enciphered: an "Encrypted"
// element around the Base64 of RC4(16 bytes, payload, CRC-32 of both).
#ifndef LXPREVIEW_ENCRYPTED_DOCUMENT_H
#define LXPREVIEW_ENCRYPTED_DOCUMENT_H

#include <string>

#include "preview/xml_document.h"

constexpr char kEncryptedElementName[] = "Encrypted";

// The document the element holds. Failures raise ExceptionBase.
XmlDocument DecryptDocument(const XmlElement& encrypted);
// The text of an enciphered document holding payload, as the gateway writes it.
std::string EncryptDocument(const std::string& payload, const std::string& prefix16);

#endif  // LXPREVIEW_ENCRYPTED_DOCUMENT_H
