// The --mail switches that scan and read share.
#ifndef LEXORA_TOOLS_LEXORA_MAIL_ARGUMENTS_H
#define LEXORA_TOOLS_LEXORA_MAIL_ARGUMENTS_H

#include <cstddef>
#include <string>

#include "tools/lexora/commands.h"
#include "tools/mail/mail_options.h"

namespace lexora_cli {

struct MailArguments {
  bool mail = false;
  lexora_mail::MailOptions options;
};

// The usage lines of the switches (a literal, to join the commands' usage texts).
#define LEXORA_MAIL_USAGE                                                           \
  "  --mail           read each file as a mail message (an mbox as its messages,\n" \
  "                   named FILE:N): the Subject, then the text and HTML parts\n"   \
  "                   decoded, as their reader sees them\n"                         \
  "  --header NAME    with --mail, also the header field NAME (repeatable)\n"       \
  "  --attachments    with --mail, also the text-like attachments\n"

// True when args[i] is one of the switches, taken into `mail` (with i moved
// past a value); `problem` is set when its value is missing.
bool TakeMailArgument(const Arguments& args, size_t& i, MailArguments& mail, std::string& problem);

// The usage problem of a complete set of switches beside the command's
// --encoding, or an empty text.
std::string MailArgumentsProblem(const MailArguments& mail, const std::string& encoding);

}  // namespace lexora_cli

#endif  // LEXORA_TOOLS_LEXORA_MAIL_ARGUMENTS_H
