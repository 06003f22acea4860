#include "engine/compiler/listing.h"

#include <gtest/gtest.h>

#include "engine/language/script_compiler.h"
#include "test_support.h"

using namespace Nimbra::Lexora;

namespace {

std::string ListingOf(std::u16string_view script, bool words = false) {
  ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
  Compilation c = CompileStream(stream);
  stream->Release();
  if (!c.script) return "(failed)";
  std::string out;
  AppendListing(out, c.script->program, 0, -1, words);
  return out;
}

TEST(ListingTest, AndShortCutWithLabelsAndSeparator) {
  lexora_test::Initialized library;
  EXPECT_EQ(ListingOf(u"a AND b"),
            "00000000:            .load 0\t# a\n"
            "00000001:            .jz L0\t# 00000004\n"
            "00000002:            .load 1\t# b\n"
            "00000003:            .and\n"
            "00000004: L0:        .st 0\t\t# a AND b\n"
            "00000004: -----------------------------------------------\n");
}

TEST(ListingTest, WordsSectionAndEveryOperandForm) {
  lexora_test::Initialized library;
  EXPECT_EQ(ListingOf(u"[NAME=Pets] \"cat\" dog\n[@pets] NOT NEAR=2 x*", true),
            ".words\n"
            "[   0] cat\n"
            "[   1] dog\n"
            "[   2] cat dog\n"
            "[   3] x*\n"
            ".code\n"
            "00000000:            .load 2\t# cat dog\n"
            "00000001:            .st 0\t\t# \"cat\" dog\n"
            "00000001: -----------------------------------------------\n"
            "00000002:            .loadresult 0\t# @Pets\n"
            "00000003:            .load 3\t# x*\n"
            "00000004:            .!near 2\n"
            "00000005:            .st 1\t\t# [@pets] NOT NEAR = 2 x*\n"
            "00000005: -----------------------------------------------\n");
}

TEST(ListingTest, RangesUnknownsAndTheRunTimeForm) {
  Program p;
  p.AddIdentifier(u"w");
  p.Emit(kOpLoad, 7);
  p.Emit(kOpJnz, 0);
  p.Emit(42, 0);
  p.Emit(kOpStore, 3);
  std::string out;
  AppendListing(out, p, 1, 2, false);
  EXPECT_EQ(out,
            "00000001:            .jnz \t# 00000000\n"
            "00000002:            ## ERROR ##\n");
  out.clear();
  AppendInstruction(out, p, 0, p.code()[0], false, false);
  AppendInstruction(out, p, 1, p.code()[1], true, true);
  AppendInstruction(out, p, 3, p.code()[3], true, false);
  EXPECT_EQ(out,
            "00000000:            .load 7\t# <unknown>\n"
            "00000001:            .jnz 00000000 (taken)\n"
            "00000003:            .st 3\t\t# <unknown>\n");
}

}  // namespace
