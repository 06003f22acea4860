#include "engine/base/char_props.h"

#include <gtest/gtest.h>

#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

TEST(CharPropsTest, DefinedCharacters) {
  lexora_test::Initialized library;
  EXPECT_EQ(PropsOf(u'A').folded, u'a');
  EXPECT_EQ(PropsOf(u'A').bits, kPropDefined | kPropAlpha);
  EXPECT_EQ(PropsOf(u'A').other, 0);
  EXPECT_EQ(PropsOf(u'7').bits, kPropDefined | kPropDigit);
  EXPECT_EQ(PropsOf(u' ').bits, kPropDefined | kPropSpace);
  EXPECT_EQ(PropsOf(u' ').other, 1);
  EXPECT_EQ(PropsOf(u'-').other, 1);
  EXPECT_TRUE(IsIdeographUnit(u'\u4e2d'));
  EXPECT_EQ(PropsOf(u'\u00b7').other, 0);  // middle dot is an extender
  EXPECT_EQ(PropsOf(u'\u0301').bits & kPropDiacriticOrExtender, kPropDiacriticOrExtender);
  EXPECT_EQ(FoldUnit(u'\u0130'), u'\u0130');  // folds outside simple folding: left as is
  EXPECT_EQ(FoldUnit(u'\u03a3'), u'\u03c3');
}

TEST(CharPropsTest, UndefinedAndSurrogateUnits) {
  lexora_test::Initialized library;
  EXPECT_EQ(PropsOf(u'\u0378').folded, u'\u0378');  // unassigned
  EXPECT_EQ(PropsOf(u'\u0378').bits, 0);
  EXPECT_EQ(PropsOf(u'\u0378').other, 1);
  EXPECT_FALSE(IsSpaceUnit(0xD800));
  EXPECT_FALSE(IsDigitUnit(0xDC00));
  EXPECT_FALSE(IsIdeographUnit(0xD840));
}

}  // namespace
