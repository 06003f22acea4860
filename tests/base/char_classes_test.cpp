#include "engine/base/char_classes.h"

#include <gtest/gtest.h>

#include "engine/base/exceptions.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

TEST(CharClassesTest, LookupWithAndWithoutFolding) {
  lexora_test::Initialized library;
  EXPECT_EQ(FindClass(u"DIGIT", false), kClassDigit);
  EXPECT_EQ(FindClass(u"digit", false), kClassNone);
  EXPECT_EQ(FindClass(u"digit", true), kClassDigit);
  EXPECT_EQ(FindClass(u"us-ssn", true), kClassUsSsn);
  EXPECT_EQ(FindClass(u"#INVALID#", true), kClassNone);
  EXPECT_EQ(ClassName(kClassCcard), u"CCARD");
  EXPECT_EQ(ClassName(0), u"");
  EXPECT_EQ(ClassDependencies(kClassCcard).size(), 1u);
  EXPECT_EQ(ClassDependencies(kClassNum).size(), 0u);
}

TEST(CharClassesTest, ClassMapKeepsOneIdPerClass) {
  ClassMap map;
  map.Add(kClassNum, 4);
  map.Add(kClassNum, 4);
  EXPECT_THROW(map.Add(kClassNum, 5), RuntimeError);
  EXPECT_EQ(map.WordIdOf(kClassNum), std::optional<uint32_t>(4));
  EXPECT_EQ(map.WordIdOf(kClassCcard), std::nullopt);
}

}  // namespace
