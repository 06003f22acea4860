// A part's declared charset is used when the bytes are valid in it; a
// missing, unknown or plainly wrong one hands the bytes to detection.
#include "tools/mail/part_decoder.h"

#include <gtest/gtest.h>

#include "test_support.h"

using lexora_mail::DecodePart;
using lexora_test::U16;

TEST(PartDecoder, TrustsADeclarationTheBytesFit) {
  auto part = DecodePart("caf\xe9", "ISO-8859-1");
  EXPECT_EQ(part.text, U16("café"));
  EXPECT_FALSE(part.detected);
  // KOI8-R bytes read as declared, though they would pass for Latin-1 as well.
  part = DecodePart("\xf0\xd2\xc9\xd7\xc5\xd4", "koi8-r");
  EXPECT_EQ(part.text, U16("Привет"));
  EXPECT_FALSE(part.detected);
}

TEST(PartDecoder, DetectsWhenTheDeclarationIsMissingOrUnknown) {
  std::string utf8 = "Grüße aus Köln, schöne Tage";
  for (const char* declared :
       {static_cast<const char*>(nullptr), "", "x-no-such-charset", "unknown-8bit"}) {
    auto part = DecodePart(utf8, declared);
    EXPECT_EQ(part.text, U16(utf8)) << (declared ? declared : "(null)");
    EXPECT_TRUE(part.detected);
    EXPECT_EQ(part.charset, "UTF-8");
  }
}

TEST(PartDecoder, DetectsWhenTheBytesAreIllegalInTheDeclaredCharset) {
  // 8-bit bytes under us-ascii, and Latin-1 bytes under UTF-8.
  auto part = DecodePart(
      "Gr\xc3\xbc\xc3\x9f"
      "e aus K\xc3\xb6ln, sch\xc3\xb6n",
      "us-ascii");
  EXPECT_TRUE(part.detected);
  EXPECT_EQ(part.text, U16("Grüße aus Köln, schön"));
  part = DecodePart("Ch\xe8re cliente, votre r\xe9ponse", "utf-8");
  EXPECT_TRUE(part.detected);
  EXPECT_NE(part.charset, "utf-8");
  EXPECT_EQ(part.text, U16("Chère cliente, votre réponse"));
}

TEST(PartDecoder, EmptyAndLargePartsDecodeWhole) {
  EXPECT_TRUE(DecodePart("", "utf-8").text.empty());
  EXPECT_TRUE(DecodePart("", nullptr).text.empty());
  // Past the converter's chunk and the detector's sample.
  std::string big(100000, 'a');
  big += "\xc3\xa9";
  auto part = DecodePart(big, "utf-8");
  ASSERT_EQ(part.text.size(), 100001u);
  EXPECT_EQ(part.text.back(), u'é');
}
