#include <gtest/gtest.h>

#include "preview/cipher.h"
#include "preview/encrypted_document.h"
#include "preview/exceptions.h"

namespace {

std::string DecryptionError(const std::string& encryptedText) {
  XmlParseError error;
  std::optional<XmlDocument> document =
      XmlDocument::LoadText("<Encrypted>" + encryptedText + "</Encrypted>", error);
  if (!document) return "not XML";
  try {
    DecryptDocument(*document->DocumentElement());
  } catch (const ExceptionBase& e) {
    return e.what();
  }
  return "no error";
}

// The Base64 between the tags of an enciphered document.
std::string Body(const std::string& encrypted) {
  size_t start = encrypted.find("<Encrypted>") + 11;
  return encrypted.substr(start, encrypted.find("</Encrypted>") - start);
}

TEST(Cipher, KnownVectors) {
  std::string data = "Plaintext";
  Rc4Transform("Key", data);
  EXPECT_EQ(data, "\xBB\xF3\x16\xE8\xD9\x40\xAF\x0A\xD3");
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  std::string bytes;
  EXPECT_TRUE(DecodeBase64("Zm9v\r\n Ym\ta=", bytes));
  EXPECT_EQ(bytes, "foobf");
  EXPECT_TRUE(DecodeBase64("Zm9vYg", bytes));
  EXPECT_EQ(bytes, "foob");
  EXPECT_EQ(EncodeBase64("foob"), "Zm9vYg==\n");
  for (const char* bad : {"Zm9v!", "Zm9vY", "Zm=9v", "Zm9vYg===", "Z==="}) {
    EXPECT_FALSE(DecodeBase64(bad, bytes)) << bad;
  }
}

TEST(EncryptedDocument, RoundTripsAPayload) {
  std::string encrypted =
      EncryptDocument("<Config><Lexora Name=\"x\"/></Config>", "0123456789abcdef");
  XmlParseError error;
  std::optional<XmlDocument> outer = XmlDocument::LoadText(encrypted, error);
  ASSERT_TRUE(outer);
  XmlDocument inner = DecryptDocument(*outer->DocumentElement());
  EXPECT_EQ(inner.DocumentElement()->Name(), "Config");
  EXPECT_EQ(inner.ElementsByName("Lexora").size(), 1u);
}

TEST(EncryptedDocument, FailuresHaveTheGatewaysTexts) {
  EXPECT_EQ(DecryptionError("not*base64"), "Encrypted doc badly formatted (1)");
  EXPECT_EQ(DecryptionError(EncodeBase64(std::string(19, 'x'))),
            "Encrypted doc badly formatted (2)");
  std::string body = Body(EncryptDocument("<a/>", ""));
  body[4] = body[4] == 'A' ? 'B' : 'A';
  EXPECT_EQ(DecryptionError(body), "Encrypted doc corrupted");
  // Exactly 20 bytes: an empty payload, which is no document.
  EXPECT_EQ(DecryptionError(Body(EncryptDocument("", ""))),
            "Unable to load decrypted document\nLine(1:1) - Document is empty");
  EXPECT_EQ(DecryptionError(Body(EncryptDocument("<a>\n<b></a>", ""))),
            "Unable to load decrypted document\nLine(2:8) - Premature end of data in tag a line 1");
}

TEST(XmlDocument, AttributesHaveTheirRules) {
  XmlParseError error;
  std::optional<XmlDocument> document = XmlDocument::LoadText(
      "<r><LexoraItem Score=\" 12 \" Bad=\"1x\" Huge=\"99999999999\" Text=\"a&amp;b\"/></r>",
      error);
  ASSERT_TRUE(document);
  XmlElement item = document->ElementsByName("LexoraItem").at(0);
  EXPECT_EQ(item.IntAttribute("Score", 10), 12);
  EXPECT_EQ(item.IntAttribute("Missing", 10), 10);
  EXPECT_EQ(item.TextAttribute("Text", ""), "a&b");
  EXPECT_EQ(item.TextAttribute("Missing", "d"), "d");
  for (const char* name : {"Bad", "Huge"}) {
    try {
      item.IntAttribute(name, 0);
      FAIL() << name;
    } catch (const BrenlowSoftware::CXMLException& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("Element \"LexoraItem\" attribute \"") + name + "\" - type mismatch");
    }
  }
  try {
    item.RequiredAttribute("Data");
    FAIL();
  } catch (const BrenlowSoftware::CXMLException& e) {
    EXPECT_STREQ(e.what(), "Element LexoraItem missing attribute Data");
  }
}

TEST(XmlDocument, FindsElementsByNameAtAnyDepthInDocumentOrder) {
  XmlParseError error;
  std::optional<XmlDocument> document = XmlDocument::LoadText(
      "<Lexora n='1'><x><Lexora n='2'><LexoraItem n='3'/></Lexora></x><LexoraItem n='4'/></Lexora>",
      error);
  ASSERT_TRUE(document);
  std::vector<XmlElement> lexoras = document->ElementsByName("Lexora");
  ASSERT_EQ(lexoras.size(), 2u);
  EXPECT_EQ(lexoras[0].TextAttribute("n", ""), "1");
  std::vector<XmlElement> items = lexoras[0].ElementsByName("LexoraItem");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].TextAttribute("n", ""), "3");
  EXPECT_EQ(lexoras[1].ElementsByName("LexoraItem").size(), 1u);
}

TEST(XmlDocument, RefusesEntitiesAndExternalReferences) {
  XmlParseError error;
  EXPECT_FALSE(XmlDocument::LoadText(
      "<!DOCTYPE r [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]><r>&xxe;</r>", error));
  EXPECT_EQ(error.reason, "Entity declarations are not allowed");
  std::string laughs = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
  for (char c = 'b'; c <= 'k'; ++c) {
    std::string references;
    for (int i = 0; i < 10; ++i) references += std::string("&") + static_cast<char>(c - 1) + ";";
    laughs += std::string("<!ENTITY ") + c + " \"" + references + "\">";
  }
  EXPECT_FALSE(XmlDocument::LoadText(laughs + "]><r>&k;</r>", error));
  // An external DTD is neither fetched nor read.
  std::optional<XmlDocument> document = XmlDocument::LoadText(
      "<!DOCTYPE r SYSTEM \"http://127.0.0.1:9/x.dtd\"><r><LexoraItem/></r>", error);
  ASSERT_TRUE(document);
  EXPECT_EQ(document->ElementsByName("LexoraItem").size(), 1u);
  EXPECT_FALSE(XmlDocument::LoadText("<r>&undeclared;</r>", error));
}

}  // namespace
