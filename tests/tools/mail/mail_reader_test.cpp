// Messages and mbox files read as their reader sees them, and hostile mail
// ending in a result or a clear error for each message.
#include "tools/mail/mail_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

using lexora_mail::MailMessage;
using lexora_mail::MailOptions;
using lexora_test::U16;
using lexora_test::U8;

namespace {

std::vector<MailMessage> Read(std::string_view bytes, const MailOptions& options = {}) {
  std::vector<MailMessage> messages;
  lexora_mail::ReadMailBytes(bytes, "m", options,
                             [&](MailMessage&& m) { messages.push_back(std::move(m)); });
  return messages;
}

// The text of a one-message file, pieces joined by " | " for readability.
std::string Text(std::string_view bytes, const MailOptions& options = {}) {
  std::vector<MailMessage> messages = Read(bytes, options);
  EXPECT_EQ(messages.size(), 1u);
  if (messages.size() != 1) return "";
  EXPECT_TRUE(messages[0].ok) << messages[0].error;
  std::string text = U8(messages[0].text);
  std::string separator = U8(lexora_mail::kPieceSeparator);
  for (size_t at; (at = text.find(separator)) != std::string::npos;) {
    text.replace(at, separator.size(), " | ");
  }
  return text;
}

const char kMultipart[] =
    "From: a@example.com\n"
    "Subject: =?ISO-8859-1?Q?Caf=E9?= news\n"
    "X-Tag: first\n"
    "x-tag: =?UTF-8?B?c2Vjb25k?=\n"
    "MIME-Version: 1.0\n"
    "Content-Type: multipart/mixed; boundary=\"b1\"\n"
    "\n"
    "preamble is not shown\n"
    "--b1\n"
    "Content-Type: text/plain; charset=iso-8859-1\n"
    "Content-Transfer-Encoding: quoted-printable\n"
    "\n"
    "Ch=E8re cliente, your pass=\n"
    "word expires\n"
    "--b1\n"
    "Content-Type: text/html; charset=utf-8\n"
    "Content-Transfer-Encoding: base64\n"
    "\n"
    "PHA+PGI+d2luPC9iPm5lciAmYW1wOyBtb3JlPC9wPg==\n"  // <p><b>win</b>ner &amp; more</p>
    "--b1\n"
    "Content-Type: text/csv; name=list.csv\n"
    "Content-Disposition: attachment; filename=list.csv\n"
    "Content-Transfer-Encoding: base64\n"
    "\n"
    "aW52b2ljZSwxMjM0NQo=\n"  // invoice,12345
    "--b1\n"
    "Content-Type: image/png\n"
    "Content-Transfer-Encoding: base64\n"
    "\n"
    "iVBORw0KGgo=\n"
    "--b1\n"
    "Content-Type: message/rfc822\n"
    "\n"
    "Subject: inner subject\n"
    "Content-Type: text/plain\n"
    "\n"
    "inner body\n"
    "--b1--\n"
    "epilogue is not shown\n";

}  // namespace

TEST(MailReader, JoinsSubjectAndReadablePartsInMessageOrder) {
  EXPECT_EQ(Text(kMultipart),
            "Café news | Chère cliente, your password expires | winner & more | "
            "inner subject | inner body");
}

TEST(MailReader, AddsNamedHeadersAndTextLikeAttachmentsOnRequest) {
  MailOptions options;
  options.headers = {"X-TAG", "X-Missing"};
  options.attachments = true;
  EXPECT_EQ(Text(kMultipart, options),
            "Café news | first | second | Chère cliente, your password expires | "
            "winner & more | invoice,12345 | inner subject | inner body");
}

TEST(MailReader, SeparatorKeepsPhrasesAndNumberRunsInsideOnePiece) {
  lexora_test::Initialized library;
  std::u16string script = u"[NAME=phrase] \"offer today\"\n[NAME=card] [CCARD]\n";
  std::unique_ptr<ILXScript, lexora_test::ReleaseObject> compiled(CreateLXScript());
  ASSERT_TRUE(compiled->Compile(lexora_test::StringStreamOf(script).get()));
  std::unique_ptr<ILXRunner, lexora_test::ReleaseObject> runner(compiled->CreateRunner());
  auto fired = [&](std::u16string text) {
    EXPECT_TRUE(runner->Run(lexora_test::StringStreamOf(text).get()));
    uint32_t phrase = 0, card = 0;
    int32_t score = 0;
    runner->GetExpressionResult(0, &phrase, &score);
    runner->GetExpressionResult(1, &card, &score);
    return std::make_pair(phrase, card);
  };
  // The Subject ends with the first half, the body starts with the second.
  for (std::string halves : {"offer\n\ntoday", "4111 1111\n\n1111 1111"}) {
    size_t cut = halves.find("\n\n");
    std::vector<MailMessage> m =
        Read("Subject: x " + halves.substr(0, cut) + "\n\n" + halves.substr(cut + 2) + " x\n");
    ASSERT_TRUE(m[0].ok);
    EXPECT_EQ(fired(m[0].text), std::make_pair(0u, 0u)) << halves;
    EXPECT_NE(fired(lexora_test::U16(halves)), std::make_pair(0u, 0u)) << halves;
  }
}

TEST(MailReader, UndeclaredAndUnknownCharsetsAreDetected) {
  EXPECT_EQ(Text("Subject: s\nContent-Type: text/plain\n\nGr\xc3\xbc\xc3\x9f"
                 "e aus K\xc3\xb6ln\n"),
            "s | Grüße aus Köln");
  EXPECT_EQ(Text("Subject: s\nContent-Type: text/plain; charset=x-klingon\n\n"
                 "Gr\xc3\xbc\xc3\x9f"
                 "e aus K\xc3\xb6ln\n"),
            "s | Grüße aus Köln");
}

TEST(MailReader, MessageOfOnlyAnAttachmentGivesItsSubject) {
  EXPECT_EQ(Text("Subject: scan\nContent-Type: application/pdf\n"
                 "Content-Transfer-Encoding: base64\n\nJVBERi0xLjQK\n"),
            "scan");
  EXPECT_EQ(Text("Content-Type: application/pdf\n\n%PDF\n"), "");
}

TEST(MailReader, MalformedMimeStillGivesItsText) {
  // No boundary parameter, a part never closed, broken base64 and quoted-printable.
  EXPECT_EQ(Text("Subject: s\nContent-Type: multipart/mixed\n\nbody without parts\n"), "s");
  EXPECT_EQ(Text("Subject: s\nContent-Type: multipart/mixed; boundary=x\n\n--x\n"
                 "Content-Type: text/plain\n\nnever closed"),
            "s | never closed");
  EXPECT_EQ(Text("Content-Type: text/plain\nContent-Transfer-Encoding: base64\n\n"
                 "aGVsbG8g!!d29y*bGQ=\n"),
            "hello world");
  EXPECT_EQ(Text("Content-Type: text/plain\nContent-Transfer-Encoding: quoted-printable\n\n"
                 "a=ZZb =4\n"),
            "a=ZZb =4");
}

// A message of multiparts nested `depth` deep around one text part.
std::string Nested(int depth, std::string_view subject) {
  std::string m =
      "Subject: " + std::string(subject) + "\nContent-Type: multipart/mixed; boundary=b0\n\n";
  for (int i = 1; i < depth; ++i) {
    m += "--b" + std::to_string(i - 1) + "\nContent-Type: multipart/mixed; boundary=b" +
         std::to_string(i) + "\n\n";
  }
  return m + "--b" + std::to_string(depth - 1) + "\nContent-Type: text/plain\n\nbottom\n";
}

TEST(MailReader, DeeplyNestedPartsAreAnErrorNotASilentLoss) {
  const int depth = 10000;
  std::vector<MailMessage> m = Read(Nested(depth, "deep"));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_FALSE(m[0].ok);
  EXPECT_EQ(m[0].error, "MIME parts nested too deeply");
  // Ten thousand siblings are no problem.
  std::string wide = "Content-Type: multipart/mixed; boundary=w\n\n";
  for (int i = 0; i < depth; ++i) wide += "--w\nContent-Type: text/plain\n\nw\n";
  m = Read(wide + "--w--\n");
  ASSERT_TRUE(m[0].ok);
  // "w" per part (the line break before a boundary is the boundary's), the parts apart.
  EXPECT_EQ(m[0].text.size(), depth + (depth - 1) * (std::size(lexora_mail::kPieceSeparator) - 1));
}

TEST(MailReader, DeepNestingWithinTheParsersLimitIsRead) {
  // Deep enough to be parsed a second time for the parser's verdict, not too deep.
  EXPECT_EQ(Text(Nested(400, "deep")), "deep | bottom");
  // The second look at one message of an mbox leaves the next ones in place.
  std::vector<MailMessage> m = Read("From a Thu Aug 22 12:36:23 2002\n" + Nested(400, "one") +
                                    "From b Thu Aug 22 12:36:23 2002\n" + Nested(2000, "two") +
                                    "From c Thu Aug 22 12:37:00 2002\nSubject: three\n\nlast\n");
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(U8(m[0].text), "one" + U8(lexora_mail::kPieceSeparator) + "bottom");
  EXPECT_EQ(m[1].error, "MIME parts nested too deeply");
  EXPECT_EQ(U8(m[2].text), "three" + U8(lexora_mail::kPieceSeparator) + "last");
}

// Megabytes of one header line. (Kept to a few: the parser grows its header
// buffer a read at a time, which costs quadratic copying under the sanitizers'
// allocator; glibc's reads a 50 MB header in under a second.)
TEST(MailReader, HugeHeaderIsRead) {
  const size_t size = 4 << 20;
  std::string huge = "Subject: " + std::string(size, 'x') + "\n\nbody\n";
  std::vector<MailMessage> m = Read(huge);
  ASSERT_EQ(m.size(), 1u);
  ASSERT_TRUE(m[0].ok);
  EXPECT_EQ(m[0].text.size(), size + std::size(lexora_mail::kPieceSeparator) - 1 + 4);
}

TEST(MailReader, NotAMessageIsAnError) {
  for (std::string_view bytes : {std::string_view(""), std::string_view("just a line of text\n")}) {
    std::vector<MailMessage> m = Read(bytes);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_FALSE(m[0].ok);
    EXPECT_EQ(m[0].label, "m");
    EXPECT_EQ(m[0].error, "no mail message at byte 0");
  }
}

TEST(MailReader, SplitsAnMboxAndNamesEachMessage) {
  std::vector<MailMessage> m = Read(
      "From a@example.com Thu Aug 22 12:36:23 2002\nSubject: one\n\nfirst\n>From here, quoted\n"
      "\nFrom b@example.com Thu Aug 22 12:37:00 2002\nSubject: two\n\nsecond\n");
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].label, "m:1");
  EXPECT_EQ(m[1].label, "m:2");
  EXPECT_EQ(U8(m[0].text), "one" + U8(lexora_mail::kPieceSeparator) + "first\n>From here, quoted");
  EXPECT_EQ(U8(m[1].text), "two" + U8(lexora_mail::kPieceSeparator) + "second");
}

TEST(MailReader, MboxLosesNoMessage) {
  // An unquoted "From " line in a body starts a piece of its own, here
  // without a header: an error, and the message after it is read all the
  // same. A truncated last message still gives what it has.
  std::vector<MailMessage> m = Read(
      "From a Thu Aug 22 12:36:23 2002\nSubject: one\n\nfirst\nFrom the desk of\nthe boss\n"
      "From c Thu Aug 22 12:38:00 2002\nSubject: cut\nContent-Type: multipart/mixed; "
      "boundary=z\n\n--z\nContent-Type: text/plain\n\nhalf a");
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(U8(m[0].text), "one" + U8(lexora_mail::kPieceSeparator) + "first");
  EXPECT_EQ(m[1].label, "m:2");
  EXPECT_FALSE(m[1].ok);
  EXPECT_EQ(m[1].error, "no mail message at byte 52");
  ASSERT_TRUE(m[2].ok);
  EXPECT_EQ(m[2].label, "m:3");
  EXPECT_EQ(U8(m[2].text), "cut" + U8(lexora_mail::kPieceSeparator) + "half a");
}

TEST(MailReader, ReadsFiles) {
  std::vector<MailMessage> m;
  auto keep = [&](MailMessage&& message) { m.push_back(std::move(message)); };
  lexora_test::TempFile mbox(
      "From a Thu Aug 22 12:36:23 2002\nSubject: one\n\nfirst\n"
      "From b Thu Aug 22 12:37:00 2002\nSubject: two\n\nsecond\n");
  lexora_mail::ReadMailFile(mbox.path(), {}, keep);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[1].label, mbox.path() + ":2");
  EXPECT_EQ(U8(m[1].text), "two" + U8(lexora_mail::kPieceSeparator) + "second");
  m.clear();
  lexora_test::TempFile empty("");
  lexora_mail::ReadMailFile(empty.path(), {}, keep);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].error, "no mail message at byte 0");
}

TEST(MailReader, MissingFileIsAnError) {
  std::vector<MailMessage> m;
  lexora_mail::ReadMailFile("/nonexistent/mail.eml", {},
                            [&](MailMessage&& message) { m.push_back(std::move(message)); });
  ASSERT_EQ(m.size(), 1u);
  EXPECT_FALSE(m[0].ok);
  EXPECT_EQ(m[0].error, "cannot open");
}

TEST(MailReader, ASinkMayReadMailItself) {
  // Each thread keeps its parser between files; a read inside a sink must
  // neither disturb the mbox being split nor be disturbed by it.
  const std::string mbox =
      "From a Thu Aug 22 12:36:23 2002\nSubject: one\n\nfirst\n"
      "From b Thu Aug 22 12:37:00 2002\nSubject: two\n\nsecond\n";
  std::vector<std::string> seen;
  lexora_mail::ReadMailBytes(mbox, "outer", {}, [&](MailMessage&& outer) {
    seen.push_back(outer.label + " " + U8(outer.text));
    lexora_mail::ReadMailBytes("Subject: inner\n\nbody\n", "inner", {}, [&](MailMessage&& inner) {
      seen.push_back(inner.label + " " + U8(inner.text));
    });
  });
  std::string separator = U8(lexora_mail::kPieceSeparator);
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "outer:1 one" + separator + "first", "inner inner" + separator + "body",
                      "outer:2 two" + separator + "second", "inner inner" + separator + "body"}));
}

TEST(MailReader, AMessageAfterAnMboxIsReadAsAMessage) {
  // The thread's parser split an mbox last; a "From " line in this body is text.
  Read("From a Thu Aug 22 12:36:23 2002\nSubject: one\n\nfirst\n");
  EXPECT_EQ(Text("Subject: s\n\nbody\nFrom here on\n"), "s | body\nFrom here on");
}
