// Deciding a plain word at once must find exactly what stepping it unit by
// unit finds: the same words, word indexes, ids in the same order, texts and
// kinds, wherever the stream's reads end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "runtime/scan_support.h"
#include "test_support.h"

using namespace lexora_test;
using Method = Nimbra::Lexora::WordFinder::Method;

namespace {

// Scripts over every construct: folded and exact words, words holding
// separators and joiners, escapes, phrases, every wildcard form, inline
// and named classes, non-Latin and ideographic words.
const char16_t* const kScripts[] = {
    u"offer OR \"Offer\" OR cat OR \"Cat\" OR at OR at&t OR www.example OR $100 OR don't\n"
    u"e-mail OR caf\u00e9 OR \u0434\u0430 OR \u6587 OR x\u2010y OR a\\*b OR co\u00ADoperate\n"
    u"[MATCH=ALL] \"free offer\" OR card [CCARD] OR the [NUM] OR \"cat at\"\n",
    u"[MATCH=ALL] a* OR *ing OR x?z OR gr?at* OR [DIGIT][LETTER]* OR [NUM] OR www.*\n"
    u"[MATCH=ALL] [CCARD] OR [US-SSN] OR offer OR \"Offer\" OR \u0434\u0430* OR \u6587\n",
    u"* OR word OR \"Word\" OR aa OR [NUM]\n",
    u"\"Exact\" OR \"ONLY\" OR \"\u0414\u0430\"\n",
    // Case-folded literal words only, which take the tight loop.
    u"offer OR cat OR at OR at&t OR www.example OR $100 OR don't OR e-mail OR caf\u00e9\n"
    u"\u0434\u0430 OR \u6587 OR x\u2010y OR co\u00ADoperate OR aa OR word OR the OR cats\n"
    u"[MATCH=ALL] offer NEAR=3 the\n",
    u"a OR b OR \u00df OR \u212a OR k OR \u0131 OR i\n",
};

std::u16string Widen(const std::string& bytes) {
  return std::u16string(bytes.begin(), bytes.end());  // as ISO-8859-1
}

void ExpectSameWords(std::u16string_view script, const std::u16string& text,
                     const std::string& what) {
  auto compiled = CompileOrFail(script);
  ASSERT_TRUE(compiled);
  auto reference = FindWords(*compiled, text, Method::kPerUnit);
  for (uint32_t unitsPerRead : {UINT32_MAX, 1u, 3u, 127u, 128u, 129u}) {
    for (Method method : {Method::kFast, Method::kGeneral}) {
      EXPECT_EQ(FindWords(*compiled, text, method, unitsPerRead), reference)
          << what << ", method " << static_cast<int>(method) << ", " << unitsPerRead
          << " units per read";
    }
  }
}

TEST(WordFinderMethodsTest, ShippedExamplesAndEdgeCases) {
  Initialized library;
  std::vector<std::u16string> texts = {
      u"I don't know, send e-mail now; a 'word' here 1-2 x\u2013a x\u20101",
      u"we co\u00ADoperate \uFF2F\uFF26\uFF26\uFF25\uFF32! caf\u00e9 cafe\u0301 \ufb01ne",
      u"\u4e2d\u6587\u5b57 ab\u4e2dx call at&t now at&x at home Cat cat CAT",
      u"  one,  two...three  cats dog pets 12345 12a 7 cat ct cart 1a 1 a1 2bcd",
      u"card 4111 1111 1111 1111 and 078-05-1120 the 42 www.example.com $100 a*b",
      std::u16string(5000, u'a') + u" word Word offer",
      u"",
      u" ,;. ",
  };
  const std::filesystem::path mail = std::filesystem::path(LEXORA_SOURCE_DIR) / "examples/mail";
  for (const auto& entry : std::filesystem::directory_iterator(mail)) {
    std::ifstream in(entry.path(), std::ios::binary);
    texts.push_back(Widen({std::istreambuf_iterator<char>(in), {}}));
  }
  std::ifstream rules(std::filesystem::path(LEXORA_SOURCE_DIR) / "examples/rules/mail.lx");
  std::u16string mailScript = Widen({std::istreambuf_iterator<char>(rules), {}});
  for (size_t t = 0; t < texts.size(); ++t) {
    ExpectSameWords(mailScript, texts[t], "mail.lx, text " + std::to_string(t));
    for (size_t s = 0; s < std::size(kScripts); ++s) {
      ExpectSameWords(kScripts[s], texts[t],
                      "script " + std::to_string(s) + ", text " + std::to_string(t));
    }
  }
}

// A literal word past the kept text is stored cut, by both methods alike.
TEST(WordFinderMethodsTest, LiteralWordsPastTheKeptText) {
  Initialized library;
  const std::u16string longWord(1030, u'q');
  ExpectSameWords(longWord + u" OR qq", longWord + u" " + longWord + u"q qq " + longWord,
                  "long literal");
}

// Random mixes of what each method treats apart, words of every length up
// to past the kept text, separators wherever the buffer ends.
TEST(WordFinderMethodsTest, RandomTexts) {
  Initialized library;
  const std::u16string pool =
      u"aacdeefgiilnorsttwxyzACOTW  \n\t,.;&$*'-\u2010\u2013\u00ad0123456789"
      u"\u0434\u0430\u0414\u0436\u4e2d\u6587\u00e9\u0301\uff41\ufb01\u2019";
  const std::u16string words[] = {u"offer", u"Offer",        u"cat",        u"at&t",
                                  u"don't", u"\u0434\u0430", u"word",       u"aa",
                                  u"the",   u"4111",         u"www.example"};
  std::mt19937 random(18);
  for (int round = 0; round < 30; ++round) {
    std::u16string text;
    while (text.size() < 4000) {
      switch (random() % 4) {
        case 0:
          text += words[random() % std::size(words)];
          break;
        case 1:
          text += std::u16string(random() % 1100 + 1, pool[random() % 12]);
          break;
        default:
          text += pool[random() % pool.size()];
      }
      if (random() % 2) text += u' ';
    }
    for (size_t s = 0; s < std::size(kScripts); ++s) {
      ExpectSameWords(kScripts[s], text,
                      "script " + std::to_string(s) + ", round " + std::to_string(round));
    }
  }
}

// Prose of whole ASCII words, where the folded walk passes absent words a
// block at a time: script words in any case, their prefixes and
// extensions, words at and past the filter's length, words joined or cut by
// separators the script reads, and now and then a unit outside ASCII.
TEST(WordFinderMethodsTest, AsciiProse) {
  Initialized library;
  std::mt19937 random(26);
  std::vector<std::u16string> vocabulary = {u"offer",
                                            u"cat",
                                            u"cats",
                                            u"at",
                                            u"the",
                                            u"word",
                                            u"aa",
                                            u"don't",
                                            u"e-mail",
                                            u"OFFER",
                                            u"Cat",
                                            u"ca",
                                            u"t",
                                            u"thee",
                                            u"wor",
                                            u"aaa",
                                            u"www",
                                            u"example",
                                            u"at&t",
                                            u"a1b2",
                                            u"x^y",
                                            u"`q",
                                            u"1234",
                                            u"zz",
                                            u"caf\u00e9",
                                            u"\u0434\u0430",
                                            u"abcdefghijklmno",
                                            u"abcdefghijklmnop",
                                            u"ABCDEFGHIJKLMNO"};
  std::u16string script = u"offer OR cat OR at OR at&t OR www.example OR don't OR e-mail\n";
  for (int i = 0; i < 60; ++i) {
    std::u16string word;
    for (size_t k = random() % 16 + 1; k > 0; --k)
      word += static_cast<char16_t>(u'a' + random() % 26);
    vocabulary.push_back(word);
    script += word + u" OR ";
  }
  script += u"abcdefghijklmno OR the\n";
  const char16_t* const separators[] = {u" ",   u" ", u" ", u", ", u".\n",    u"  ",      u"\t",
                                        u" - ", u"&", u"'", u"-",  u"\u00ad", u" \u2014 "};
  for (int round = 0; round < 20; ++round) {
    std::u16string text;
    while (text.size() < 6000) {
      text += vocabulary[random() % vocabulary.size()];
      text += separators[random() % 4 == 0 ? random() % std::size(separators) : 0];
    }
    ExpectSameWords(script, text, "round " + std::to_string(round));
  }
  // Script words back to back: the blocks pass too few words to pay, the
  // trial turns them off, and the rest of the text takes the plain walk.
  std::u16string dense;
  while (dense.size() < 40000) dense += vocabulary[random() % 7] + u" ";
  ExpectSameWords(script, dense + u"zq zq cats offer", "script words only");
}

}  // namespace
