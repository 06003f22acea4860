#include <gtest/gtest.h>

#include <string>

#include "engine/input/transfer_encoding.h"
#include "test_support.h"

using lexora_test::Initialized;

namespace {

// Compiles text into a new script; the caller releases it.
ILXScript* CompileText(std::u16string_view text, bool* ok = nullptr) {
  ILXScript* script = CreateLXScript();
  ILXStream* stream = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
  bool compiled = script->Compile(stream);
  stream->Release();
  if (ok) *ok = compiled;
  return script;
}

std::u16string NameOf(ILXScript* script, uint32_t index) {
  uint32_t length = 0;
  script->GetExpressionName(index, nullptr, &length);
  std::u16string name(length, u'\0');
  script->GetExpressionName(index, name.data(), &length);
  return name.c_str();
}

TEST(ScriptTest, CreationNeedsTheLibrary) {
  EXPECT_EQ(CreateLXScript(), nullptr);
  Initialized library;
  ILXScript* script = CreateLXScript();
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(script->GetErrorCount(), 0u);
  EXPECT_EQ(script->GetExpressionCount(), 0u);
  EXPECT_EQ(script->CreateRunner(), nullptr);  // never compiled
  uint32_t length = 5;
  char16_t buffer[5] = u"abcd";
  script->GetExpressionName(0, buffer, &length);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_FALSE(script->Compile(nullptr));
  EXPECT_EQ(script->GetErrorCount(), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(script->GetError(7)), "");
  script->Release();
}

TEST(ScriptTest, ErrorsOfOneCompileWithPositions) {
  Initialized library;
  bool ok = true;
  ILXScript* script = CompileText(u"good\nbad )\n[SCORE=x] y\n", &ok);
  EXPECT_FALSE(ok);
  ASSERT_EQ(script->GetErrorCount(), 2u);
  EXPECT_EQ(std::u16string(script->GetError(0)), u"Line 2, column 5: Expecting end-of-line");
  EXPECT_EQ(std::u16string(script->GetError(1)),
            u"Line 3, column 7: \"SCORE\" must be an integer value");
  script->Release();
}

TEST(ScriptTest, FailedCompileKeepsTheEarlierForm) {
  Initialized library;
  bool ok = false;
  ILXScript* script = CompileText(u"a\nb OR c\n", &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(script->GetExpressionCount(), 2u);
  std::u16string broken = u"x AND\n";
  ILXStream* stream = CreateStringStream(broken.data(), static_cast<uint32_t>(broken.size()));
  EXPECT_FALSE(script->Compile(stream));
  stream->Release();
  EXPECT_EQ(script->GetErrorCount(), 1u);
  EXPECT_EQ(script->GetExpressionCount(), 2u);
  EXPECT_EQ(NameOf(script, 1), u"b OR c");
  script->Release();
}

TEST(ScriptTest, ExpressionNamesAndTheSizeProtocol) {
  Initialized library;
  ILXScript* script = CompileText(u"[NAME=Card] ABC\n\"x y\" NEAR=2 z\n");
  ASSERT_EQ(script->GetExpressionCount(), 2u);
  uint32_t length = 0;
  script->GetExpressionName(0, nullptr, &length);
  EXPECT_EQ(length, 16u);  // "[NAME=Card] ABC" and the terminator
  std::u16string exact(16, u'#');
  script->GetExpressionName(0, exact.data(), &length);
  EXPECT_EQ(std::u16string(exact.c_str()), u"[NAME=Card] ABC");
  std::u16string small(15, u'#');
  length = 15;
  script->GetExpressionName(0, small.data(), &length);
  EXPECT_EQ(length, 16u);
  EXPECT_EQ(small[0], 0);
  EXPECT_EQ(NameOf(script, 1), u"\"x y\" NEAR = 2 z");
  length = 9;
  script->GetExpressionName(2, exact.data(), &length);
  EXPECT_EQ(length, 0u);
  script->GetExpressionName(0, exact.data(), nullptr);  // no length: nothing happens
  script->Release();
}

TEST(ScriptTest, EncipheredScriptsNameExpressionsByNumber) {
  Initialized library;
  bool ok = false;
  ILXScript* script = CompileText(Nimbra::Lexora::EncodeTransfer(u"[NAME=A] a\nb\n"), &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(NameOf(script, 0), u"Expression #1");
  EXPECT_EQ(NameOf(script, 1), u"Expression #2");
  script->Release();
}

}  // namespace
