#include "engine/input/charset_sniffer.h"

#include <gtest/gtest.h>

#include <string>

using namespace Nimbra::Lexora;

namespace {

// The sniffed name, or "" when there is no signature.
std::string Sniff(const std::string& sample) {
  char name[kEncodingNameCapacity];
  if (!SniffSignature(reinterpret_cast<const uint8_t*>(sample.data()), sample.size(), name)) {
    return "";
  }
  return name;
}

TEST(CharsetSnifferTest, ByteOrderMarksFourByteFirst) {
  EXPECT_EQ(Sniff(std::string("\x00\x00\xFE\xFF", 4)), "UTF-32BE");
  EXPECT_EQ(Sniff(std::string("\xFF\xFE\x00\x00", 4)), "UTF-32LE");
  EXPECT_EQ(Sniff(std::string("\xFF\xFE\x41\x00", 4)), "UTF-16LE");
  EXPECT_EQ(Sniff("\xFE\xFF"), "UTF-16BE");
  EXPECT_EQ(Sniff("\xEF\xBB\xBFx"), "UTF-8");
  EXPECT_EQ(Sniff(std::string(1, '\0')), "");
  EXPECT_EQ(Sniff("plain text"), "");
}

TEST(CharsetSnifferTest, XmlDeclarationOnlyAtTheFirstLessThan) {
  EXPECT_EQ(Sniff("<?xml version=\"1.0\" encoding=\"KOI8-R\"?><a/>"), "KOI8-R");
  EXPECT_EQ(Sniff("  <?xml encoding='windows-1251' ?>"), "windows-1251");
  EXPECT_EQ(Sniff("<a/><?xml version=\"1.0\" encoding=\"KOI8-R\"?>"), "");
  EXPECT_EQ(Sniff("<?xml version=\"1.0\" Encoding=\"KOI8-R\"?>"), "");
}

TEST(CharsetSnifferTest, XmlDeclarationLimits) {
  EXPECT_EQ(Sniff("<?xml encoding=\"" + std::string(59, 'a') + "\"?>"), std::string(59, 'a'));
  EXPECT_EQ(Sniff("<?xml encoding=\"" + std::string(60, 'a') + "\"?>"), "");
  EXPECT_EQ(Sniff("<?xml encoding=\"a b\"?>"), "");
  EXPECT_EQ(Sniff("<?xml encoding=\"ab\""), "");  // fewer than 8 bytes from the quote
  EXPECT_EQ(Sniff("<?xml encoding=UTF-8 ?>"), "");
  EXPECT_EQ(Sniff("<?xml version=\"1.0\"> encoding=\"KOI8-R\""), "");
}

TEST(CharsetSnifferTest, HtmlMetaInsideAnHtmlTag) {
  const std::string meta =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-7\">";
  EXPECT_EQ(Sniff("<!DOCTYPE html><html><head>" + meta), "iso-8859-7");
  EXPECT_EQ(Sniff("<HTML lang=el><head>" + meta), "iso-8859-7");
  EXPECT_EQ(Sniff(meta + "<html>"), "");  // a meta tag before any html tag
  EXPECT_EQ(Sniff("<html><meta content=\"text/html; charset=utf-8\">"), "");
  EXPECT_EQ(Sniff("<html><meta http-equiv=content-type content='text/html;charset=\"koi8-r\"'>"),
            "koi8-r");
}

TEST(CharsetSnifferTest, HtmlTagAtTheVeryStartIsRecognised) {
  EXPECT_EQ(Sniff("<html><head><meta http-equiv=\"Content-Type\" "
                  "content=\"text/html; charset=windows-1252\"></head></html>"),
            "windows-1252");
  EXPECT_EQ(Sniff("<htmlx><meta http-equiv=\"Content-Type\" content=\"a; charset=x\">"), "");
}

TEST(CharsetSnifferTest, XhtmlAfterAnXmlDeclarationWithoutEncoding) {
  EXPECT_EQ(Sniff("<?xml version=\"1.0\"?>\n<html><meta http-equiv=\"Content-Type\" "
                  "content=\"text/html; charset=koi8-u\">"),
            "koi8-u");
}

}  // namespace
