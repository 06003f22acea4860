// HTML parts read as a mail reader shows them.
#include "tools/mail/html_text.h"

#include <gtest/gtest.h>

using lexora_mail::HtmlText;

TEST(HtmlText, DropsTagsAndDecodesEntities) {
  EXPECT_EQ(HtmlText("<p>Tom &amp; Jerry&#39;s <b>win</b>ner &eacute;t&eacute;</p>"),
            "Tom & Jerry's winner été");
  EXPECT_EQ(HtmlText("plain text, no tags"), "plain text, no tags");
}

TEST(HtmlText, BlocksBreakLinesAndCellsStayApart) {
  EXPECT_EQ(HtmlText("<div>one</div><div>two<br>three</div><p>four</p>"), "one\ntwo\nthree\nfour");
  EXPECT_EQ(HtmlText("<table><tr><td>card</td><td>4111</td></tr><tr><td>x</td></tr></table>"),
            "card 4111\nx");
  // Runs of breaks stop at one empty line.
  EXPECT_EQ(HtmlText("a<br><br><br><br>b"), "a\n\nb");
}

TEST(HtmlText, CollapsesWhiteSpaceOutsidePre) {
  EXPECT_EQ(HtmlText("<p>  many\n\n   blanks\there </p>"), "many blanks here");
  EXPECT_EQ(HtmlText("<pre>keep  these\n  blanks</pre>"), "keep  these\n  blanks");
}

TEST(HtmlText, LeavesOutHeadScriptAndStyle) {
  EXPECT_EQ(HtmlText("<html><head><title>money</title><style>p{color:red}</style></head>"
                     "<body><script>var cash = 1;</script>text<style>.x{}</style></body></html>"),
            "text");
}

TEST(HtmlText, RecoversFromMalformedMarkup) {
  EXPECT_EQ(HtmlText("<p>unclosed <b>bold <i>italic</p>after"), "unclosed bold italic\nafter");
  EXPECT_EQ(HtmlText("</div></div>stray closers<"), "stray closers<");
  EXPECT_EQ(HtmlText(""), "");
  // Text after a leading stray end tag is kept (a parser that dropped it
  // would let a sender hide a whole part).
  EXPECT_EQ(HtmlText("</b>hello <b>world</b>"), "hello world");
}

TEST(HtmlText, ReadsTheTextAsUtf8WhateverAMetaTagSays) {
  EXPECT_EQ(HtmlText("<head><meta charset=\"koi8-r\"></head><body>caf\xc3\xa9</body>"), "café");
}

TEST(HtmlText, DeepNestingEndsWithoutRecursion) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<div><span>";
  deep += "bottom";
  std::string text = HtmlText(deep);
  // The parser stops nesting at its limit; whatever it kept is read.
  EXPECT_LE(text.size(), 6u + 100000u);
}
