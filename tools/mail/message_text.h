// The text a rule sees in a parsed message.
#ifndef LEXORA_TOOLS_MAIL_MESSAGE_TEXT_H
#define LEXORA_TOOLS_MAIL_MESSAGE_TEXT_H

#include <gmime/gmime.h>

#include <string>

#include "tools/mail/mail_options.h"
#include "tools/mail/mail_reader.h"

namespace lexora_mail {

// The Subject and the named header fields (RFC 2047 words decoded), then
// every text/plain and text/html part, and with `attachments` every other
// text-like part, in message order; nested messages contribute the same.
// Pieces are joined with kPieceSeparator.
std::u16string MessageText(GMimeMessage* message, const MailOptions& options);

}  // namespace lexora_mail

#endif  // LEXORA_TOOLS_MAIL_MESSAGE_TEXT_H
