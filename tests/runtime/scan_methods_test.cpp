// The fast paths of a scan against their references, over whole scans:
// the word finder's tight loop and its walk over word runs against its
// unit-by-unit step, and the machine's passing of dead statement blocks
// against a traced run, which executes every instruction. Each must leave
// the same hits and stored results.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/runtime/scan_pipeline.h"
#include "runtime/scan_support.h"
#include "test_support.h"

using namespace lexora_test;
using namespace Nimbra::Lexora;

namespace {

struct Outcome {
  std::vector<uint32_t> hits;
  std::map<int32_t, std::vector<Span>> stored;
  bool operator==(const Outcome&) const = default;
};

Outcome Scan(const CompiledScript& script, std::u16string_view text, WordFinder::Method method,
             bool traced) {
  ScanPipeline pipeline(script.program, script.words, method);
  StreamPtr stream = StringStreamOf(text);
  pipeline.Analyse(stream.get(), nullptr);
  FILE* trace = traced ? std::tmpfile() : nullptr;
  pipeline.Execute(trace);
  if (trace) std::fclose(trace);
  const VirtualMachine& vm = pipeline.machine();
  Outcome outcome{{vm.hits().begin(), vm.hits().end()}, {}};
  for (const auto& [statement, value] : vm.storedResults()) {
    std::vector<Span>& spans = outcome.stored[statement];
    value.ForEachPosition(vm.positions(), [&](const Span& s) {
      spans.push_back(s);
      return true;
    });
  }
  return outcome;
}

// Many statements, most about words a text seldom holds, so that long runs
// of blocks are passed; among them statements that are never passed (named
// ones, NOT, INSTANCES) and some that read earlier named results.
std::u16string RandomScript(std::mt19937& random, const std::vector<std::u16string>& words) {
  auto word = [&] { return words[random() % words.size()]; };
  std::u16string script;
  for (int line = 0; line < 120; ++line) {
    switch (random() % 9) {
      case 0:
        script += u"[NAME=n" + std::u16string(1, char16_t(u'a' + line % 26)) +
                  std::u16string(1, char16_t(u'a' + line / 26)) + u"] " + word() + u" OR " + word();
        break;
      case 1:
        script += u"NOT " + word();
        break;
      case 2:
        script += word() + u" INSTANCES=2";
        break;
      case 3:
        script += u"[MATCH=ALL] " + word() + u" NEAR=3 " + word();
        break;
      case 4:
        script += word() + u" FOLLOWEDBY=2 (" + word() + u" OR " + word() + u")";
        break;
      case 5:
        script += word() + u" AND NOT " + word();
        break;
      default:
        script += word();
    }
    script += u"\n";
  }
  return script;
}

TEST(ScanMethodsTest, FastPathsLeaveWhatTheReferencesLeave) {
  Initialized library;
  std::vector<std::u16string> words;
  for (const char16_t* w : {u"offer", u"cat", u"the", u"free", u"money", u"x", u"don't", u"e-mail"})
    words.push_back(w);
  for (int i = 0; i < 200; ++i)
    words.push_back(u"rare" + std::u16string(1, char16_t(u'a' + i % 26)) +
                    std::u16string(1, char16_t(u'a' + i / 26)));
  std::mt19937 random(42);
  for (int round = 0; round < 12; ++round) {
    auto compiled = CompileOrFail(RandomScript(random, words));
    ASSERT_TRUE(compiled);
    for (int t = 0; t < 5; ++t) {
      std::u16string text;
      while (text.size() < 3000) {
        text += random() % 4 ? words[random() % 8] : words[random() % words.size()];
        text += u" ,\n.-"[random() % 5];
      }
      Outcome reference = Scan(*compiled, text, WordFinder::Method::kPerUnit, true);
      EXPECT_EQ(Scan(*compiled, text, WordFinder::Method::kGeneral, false), reference)
          << "word runs, passing blocks, round " << round << " text " << t;
      EXPECT_EQ(Scan(*compiled, text, WordFinder::Method::kFast, false), reference)
          << "fast words, round " << round << " text " << t;
    }
  }
}

}  // namespace
