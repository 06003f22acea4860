// What a message's text is made of, beyond its Subject and readable parts.
#ifndef LEXORA_TOOLS_MAIL_MAIL_OPTIONS_H
#define LEXORA_TOOLS_MAIL_MAIL_OPTIONS_H

#include <string>
#include <vector>

namespace lexora_mail {

struct MailOptions {
  std::vector<std::string> headers;  // further header fields, by name (any case)
  bool attachments = false;          // also the text-like attachments
};

}  // namespace lexora_mail

#endif  // LEXORA_TOOLS_MAIL_MAIL_OPTIONS_H
