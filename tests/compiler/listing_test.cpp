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

// How an instruction prints follows its operand's kind, in both forms.
TEST(ListingTest, EveryOpcodeInBothForms) {
  Program p;
  p.AddIdentifier(u"w");
  OptionRecord named;
  named.name = u"N";
  p.AddStatement(u"s", named);
  uint32_t label = p.NewLabel();
  for (uint32_t op = 0; op <= kOpcodeCount; ++op) p.Emit(op, 0);
  p.DefineLabel(label);
  p.LinkJumps();
  std::string listing, trace;
  for (uint32_t a = 0; a < p.code().size(); ++a) {
    AppendInstruction(listing, p, a, p.code()[a], false, false);
    AppendInstruction(trace, p, a, p.code()[a], true, false);
  }
  EXPECT_EQ(listing,
            "00000000:            .nop\n"
            "00000001:            .and\n"
            "00000002:            .or\n"
            "00000003:            .not\n"
            "00000004:            .near 0\n"
            "00000005:            .followedby 0\n"
            "00000006:            .precededby 0\n"
            "00000007:            .!near 0\n"
            "00000008:            .!followedby 0\n"
            "00000009:            .!precededby 0\n"
            "0000000a:            .instances 0\n"
            "0000000b:            .load 0\t# w\n"
            "0000000c:            .loadresult 0\t# @N\n"
            "0000000d:            .st 0\t\t# s\n"
            "0000000d: -----------------------------------------------\n"
            "0000000e:            .break\n"
            "0000000f:            .jz L0\t# 00000012\n"
            "00000010:            .jnz L0\t# 00000012\n"
            "00000011:            ## ERROR ##\n");
  EXPECT_EQ(trace.substr(trace.find("0000000d")),
            "0000000d:            .st 0\t\t# s\n"
            "0000000e:            .break\n"
            "0000000f:            .jz 00000012 (taken)\n"
            "00000010:            .jnz 00000012 (not taken)\n"
            "00000011:            ## ERROR ##\n");
}

}  // namespace
