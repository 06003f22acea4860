#include "engine/base/exceptions.h"

#include <gtest/gtest.h>

using namespace Nimbra::Lexora;

TEST(FormatTest, PrintfConversions) {
  EXPECT_EQ(Format(u"%d|%5d|%-4d|%u", -3, 42, 7, 4000000000u), u"-3|   42|7   |4000000000");
  EXPECT_EQ(Format(u"%08x %X %0.8x", 0x1a2bu, 255u, 0xabcu), u"00001a2b FF 00000abc");
  EXPECT_EQ(Format(u"%ls/%s/%lc/%%", u"wide", "narrow", u'\u00e9'), u"wide/narrow/\u00e9/%");
  EXPECT_EQ(Format(u"[%-10ls]", u"L0:"), u"[L0:       ]");
  EXPECT_EQ(Format(u"%ls", static_cast<const char16_t*>(nullptr)), u"(null)");
}

TEST(FormatTest, NarrowOutputConvertsWideArgumentsToUtf8) {
  EXPECT_EQ(Format("%s %ls %lc", "a", u"\u00fc", u'\u4e2d'), "a \xc3\xbc \xe4\xb8\xad");
}

TEST(FormatTest, MissingAndMismatchedArgumentsAreHarmless) {
  EXPECT_EQ(Format(u"%d and %ls"), u"0 and 0");
  EXPECT_EQ(Format(u"%d", u"text"), u"0");
  EXPECT_EQ(Format(u"100%"), u"100%");
}

TEST(ExceptionTest, MessagesAreCutTo511Units) {
  std::u16string longText(600, u'x');
  RuntimeError e(u"%ls", longText);
  EXPECT_EQ(std::u16string(e.what()).size(), 511u);
  VMError vm(0x10, u"%ls", longText);
  EXPECT_EQ(std::u16string(vm.what()).size(), 511u);
  EXPECT_EQ(std::u16string(vm.what()).substr(0, 10), u"00000010: ");
}

TEST(ExceptionTest, SyntaxErrorPrefixIsReplacedNotDoubled) {
  SyntaxError e = SyntaxError::At(3, 7, u"Unknown class [%ls]", u"FOO");
  EXPECT_EQ(std::u16string(e.what()), u"Line 3, column 7: Unknown class [FOO]");
  EXPECT_EQ(e.prefixLength(), 18u);
  e.Place(12, 1);
  EXPECT_EQ(std::u16string(e.what()), u"Line 12, column 1: Unknown class [FOO]");
  EXPECT_EQ(e.line(), 12);
}

TEST(ExceptionTest, SyntaxErrorWithoutFullPositionHasNoPrefix) {
  SyntaxError plain(u"Unexpected end-of-line");
  EXPECT_EQ(plain.line(), -1);
  EXPECT_EQ(plain.prefixLength(), 0u);
  SyntaxError columnOnly = SyntaxError::AtColumn(5, u"Expecting option name");
  EXPECT_EQ(std::u16string(columnOnly.what()), u"Expecting option name");
  columnOnly.Place(2, columnOnly.column());
  EXPECT_EQ(std::u16string(columnOnly.what()), u"Line 2, column 5: Expecting option name");
}

TEST(ExceptionTest, VMErrorPrefixesTheAddress) {
  VMError e(0xabc, u"Address out of range: %08x", 0x20u);
  EXPECT_EQ(std::u16string(e.what()), u"00000abc: Address out of range: 00000020");
}
