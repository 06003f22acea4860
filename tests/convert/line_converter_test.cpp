#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "lexora2/lexora2.h"
#include "test_support.h"

using lexora_test::Initialized;

namespace {

struct Converted {
  int32_t result;
  std::u16string statement;
  std::u16string message;
};

// Calls LXConvertLine as a host does: small buffers first, then once more
// with the sizes it asked for.
Converted Convert(const char16_t* line, int32_t score, int32_t weighting) {
  std::vector<char16_t> output(8), message(8);
  uint32_t outputLength = 8, messageLength = 8;
  int32_t result = LXConvertLine(line, score, weighting, output.data(), &outputLength,
                                 message.data(), &messageLength);
  if (result == 3) {
    output.assign(std::max<uint32_t>(outputLength, 1), 0);
    message.assign(std::max<uint32_t>(messageLength, 1), 0);
    outputLength = static_cast<uint32_t>(output.size());
    messageLength = static_cast<uint32_t>(message.size());
    result = LXConvertLine(line, score, weighting, output.data(), &outputLength, message.data(),
                           &messageLength);
  }
  Converted c{result, {}, {}};
  if (outputLength > 0) c.statement = output.data();
  if (messageLength > 0) c.message = message.data();
  return c;
}

TEST(LineConverterTest, ExampleTable) {
  Initialized library;
  struct Row {
    const char16_t* line;
    int32_t score, weighting;
    const char16_t* statement;
    int32_t result = 0;
    const char16_t* message = u"";
  };
  const Row rows[] = {
      {u"foo \"bar baz\"", 10, 1, u"[SCORE=10,MATCH=ALL] foo \"bar baz\""},
      {u"foo \"bar baz\"", 10, 2, u"[SCORE=10,MATCH=1] foo \"bar baz\""},
      {u"a\" b\"c", 5, 1, u"[SCORE=5,MATCH=ALL] a b c"},
      {u"\"foo\" AND bar", 5, 1, u"[SCORE=5,MATCH=ALL] \"foo\" AND bar"},
      {u"\"foo \" AND bar", 5, 1, u"[SCORE=5,MATCH=ALL] foo  AND bar"},
      // Converted as the table says, though "a (b)" is no statement of the
      // current language: the compile check reports it.
      {u"a (b) \"c=d\"", 5, 0, u"[SCORE=5] a (b) \"c\\=d\"", 2,
       u"Line 1, column 13: Expecting end-of-line"},
      {u"what?", -5, 2, u"[SCORE=-5,MATCH=1] what\\?"},
  };
  for (const Row& row : rows) {
    Converted c = Convert(row.line, row.score, row.weighting);
    EXPECT_EQ(c.result, row.result) << lexora_test::U8(row.line);
    EXPECT_EQ(c.statement, row.statement);
    EXPECT_EQ(c.message, row.message);
  }
}

TEST(LineConverterTest, QuoteRules) {
  Initialized library;
  EXPECT_EQ(Convert(u"\"foo \"", 1, 1).statement, u"[SCORE=1,MATCH=ALL] \"foo \"");
  EXPECT_EQ(Convert(u"x \" foo\"", 1, 1).statement, u"[SCORE=1,MATCH=ALL] x  foo");
  EXPECT_EQ(Convert(u"x\" foo \"y", 1, 1).statement, u"[SCORE=1,MATCH=ALL] x foo y");
  EXPECT_EQ(Convert(u"a\"\"b", 1, 1).statement, u"[SCORE=1,MATCH=ALL] a b");
  EXPECT_EQ(Convert(u"(\"x\")", 1, 1).statement, u"[SCORE=1,MATCH=ALL] (\"x\")");
  EXPECT_EQ(Convert(u"a\"bc\" d", 1, 1).statement, u"[SCORE=1,MATCH=ALL] a \"bc\" d");
  EXPECT_EQ(Convert(u"x \"(a)=[b]\\?\"", 1, 1).statement,
            u"[SCORE=1,MATCH=ALL] x \\(a\\)\\=\\[b\\]\\\\\\?");
  EXPECT_EQ(Convert(u"[x] a\\b", 1, 1).statement, u"[SCORE=1,MATCH=ALL] \\[x\\] a\\\\b");
}

TEST(LineConverterTest, WeightingsAndTheirWarnings) {
  Initialized library;
  EXPECT_EQ(Convert(u"x", 3, 0).statement, u"[SCORE=3] x");
  EXPECT_EQ(Convert(u"x", 3, 5).statement, u"[SCORE=3] x");
  Converted decreasing = Convert(u"x", 3, 3);
  EXPECT_EQ(decreasing.result, 1);
  EXPECT_EQ(decreasing.statement, u"[SCORE=3,MATCH=3] x");
  EXPECT_EQ(decreasing.message,
            u"Decreasing scores are no longer supported. Now using max matches (=3) instead.");
  Converted increasing = Convert(u"x", 3, 4);
  EXPECT_EQ(increasing.result, 1);
  EXPECT_EQ(increasing.statement, u"[SCORE=3,MATCH=ALL] x");
  EXPECT_EQ(increasing.message,
            u"Increasing scores are no longer supported. Now using standard scoring instead.");
}

TEST(LineConverterTest, ErrorsReplaceWarnings) {
  Initialized library;
  Converted failing = Convert(u"a AND", 3, 3);
  EXPECT_EQ(failing.result, 2);
  EXPECT_EQ(failing.statement, u"[SCORE=3,MATCH=3] a AND");
  EXPECT_EQ(failing.message, u"Line 1, column 24: Unexpected end-of-line");
  Converted unclosed = Convert(u"a \"b", 3, 1);
  EXPECT_EQ(unclosed.result, 2);
  EXPECT_EQ(unclosed.statement, u"");
  EXPECT_EQ(unclosed.message, u"Reached end of line without a closing \".");
  EXPECT_EQ(Convert(u"x", 20000, 1).message,
            u"Line 1, column 7: \"SCORE\" must be between -10000 and 10000");
}

TEST(LineConverterTest, SizeProtocol) {
  Initialized library;
  uint32_t outputLength = 0, messageLength = 0;
  EXPECT_EQ(LXConvertLine(u"abc", 1, 1, nullptr, &outputLength, nullptr, &messageLength), 3);
  EXPECT_EQ(outputLength, 24u);  // "[SCORE=1,MATCH=ALL] abc" and its terminator
  EXPECT_EQ(messageLength, 0u);
  std::vector<char16_t> out(outputLength);
  EXPECT_EQ(LXConvertLine(u"abc", 1, 1, out.data(), &outputLength, nullptr, &messageLength), 0);
  EXPECT_EQ(std::u16string(out.data()), u"[SCORE=1,MATCH=ALL] abc");
  // The statement is delivered even when the message does not fit.
  outputLength = 64;
  messageLength = 4;
  std::vector<char16_t> out2(64), msg(4);
  EXPECT_EQ(LXConvertLine(u"x", 1, 3, out2.data(), &outputLength, msg.data(), &messageLength), 3);
  EXPECT_EQ(std::u16string(out2.data()), u"[SCORE=1,MATCH=3] x");
  EXPECT_EQ(messageLength, 79u);
  EXPECT_EQ(LXConvertLine(u"x", 1, 1, nullptr, nullptr, nullptr, &messageLength), 3);
  EXPECT_EQ(LXConvertLine(u"x", 1, 1, nullptr, &outputLength, nullptr, nullptr), 3);
}

TEST(LineConverterTest, MissingLineAndUninitialisedLibrary) {
  EXPECT_EQ(Convert(u"", 1, 1).message, u"Lexora library has not been initialized.");
  EXPECT_EQ(Convert(u"", 1, 1).result, 2);
  Initialized library;
  Converted empty = Convert(u"", 1, 1);
  EXPECT_EQ(empty.result, 2);
  EXPECT_EQ(empty.message, u"No Lexora script line was supplied");
  EXPECT_EQ(Convert(nullptr, 1, 1).message, u"No Lexora script line was supplied");
}

TEST(LineConverterTest, ConcurrentCallsAgreeWithSerialOnes) {
  Initialized library;
  const char16_t* lines[] = {u"foo \"bar baz\"", u"a\" b\"c", u"what?", u"a AND", u"x \"y"};
  std::vector<Converted> serial;
  for (const char16_t* line : lines) serial.push_back(Convert(line, 7, 3));
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 50; ++round) {
        for (size_t k = 0; k < std::size(lines); ++k) {
          Converted c = Convert(lines[k], 7, 3);
          if (c.result != serial[k].result || c.statement != serial[k].statement ||
              c.message != serial[k].message) {
            ++mismatches[t];
          }
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}

}  // namespace
