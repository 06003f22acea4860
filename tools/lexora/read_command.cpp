// lexora read: shows what the scanner reads from a file.
#include <cstdio>
#include <string>

#include "engine/base/utf.h"
#include "engine/input/normalizing_reader.h"
#include "tools/lexora/commands.h"
#include "tools/lexora/mail_arguments.h"
#include "tools/lexora/stream_handle.h"
#include "tools/mail/mail_reader.h"

namespace lexora_cli {
namespace {

// Writes the stream's text as the engine reads it (normalised), in UTF-8.
void PrintNormalised(ILXStream* stream) {
  using Nimbra::Lexora::NormalizingReader;
  NormalizingReader reader(stream, NormalizingReader::Mode::Plain);
  std::u16string text;
  while (reader.Ensure(1)) {
    text.push_back(reader.Peek());
    reader.Advance();
    if (text.size() >= 4096) {
      std::fputs(Nimbra::Lexora::Utf16ToUtf8(text).c_str(), stdout);
      text.clear();
    }
  }
  std::fputs(Nimbra::Lexora::Utf16ToUtf8(text).c_str(), stdout);
}

// Prints each message of a mail file; the messages of an mbox under their
// "FILE:N" names. False when any could not be read.
bool PrintMail(const std::string& file, const lexora_mail::MailOptions& options) {
  bool ok = true;
  lexora_mail::ReadMailFile(file, options, [&](lexora_mail::MailMessage&& message) {
    if (!message.ok) {
      std::fprintf(stderr, "lexora read: %s: %s\n", message.label.c_str(), message.error.c_str());
      ok = false;
      return;
    }
    if (message.label != file) std::printf("==> %s <==\n", message.label.c_str());
    StreamHandle stream(
        CreateStringStream(message.text.data(), static_cast<uint32_t>(message.text.size())));
    PrintNormalised(stream.get());
    std::fputs("\n", stdout);
  });
  return ok;
}

}  // namespace

int RunRead(const Arguments& args) {
  std::string encoding;
  MailArguments mail;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string problem;
    if (TakeMailArgument(args, i, mail, problem)) {
      if (!problem.empty()) return UsageError("read", problem);
    } else if (args[i] == "--encoding") {
      if (++i == args.size()) return UsageError("read", "--encoding needs a name");
      encoding = args[i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      return UsageError("read", "unknown option " + args[i]);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.empty()) return UsageError("read", "no file given");
  std::string problem = MailArgumentsProblem(mail, encoding);
  if (!problem.empty()) return UsageError("read", problem);
  int status = 0;
  for (const std::string& file : files) {
    if (mail.mail) {
      if (!PrintMail(file, mail.options)) status = 1;
      continue;
    }
    StreamHandle stream(CreateFileStreamWithEncoding(file.c_str(), encoding.c_str()));
    if (!stream) {
      std::fprintf(stderr, "lexora read: %s: cannot open\n", file.c_str());
      status = 1;
      continue;
    }
    PrintNormalised(stream.get());
  }
  return status;
}

}  // namespace lexora_cli
