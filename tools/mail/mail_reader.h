// Reads mail files as their reader sees them: a message file, or an mbox
// split into its messages.
#ifndef LEXORA_TOOLS_MAIL_MAIL_READER_H
#define LEXORA_TOOLS_MAIL_MAIL_READER_H

#include <functional>
#include <string>
#include <string_view>

#include "tools/mail/mail_options.h"

namespace lexora_mail {

// Put between two pieces of a message's text: a blank line and a word of its
// own (a middle dot, which no rule names), so that neither a phrase nor a
// number run joins the end of one piece to the start of the next.
inline constexpr char16_t kPieceSeparator[] = u"\n\n\u00B7\n\n";

struct MailMessage {
  std::string label;  // the file's name, or "FILE:N" for the N-th message of an mbox
  bool ok = false;
  std::string error;    // why there is no text, when not ok
  std::u16string text;  // what the rules see: the pieces of the message, kPieceSeparator apart
};

using MessageSink = std::function<void(MailMessage&& message)>;

// Hands every message of the file to `sink`, in file order, one at a time. A
// file that starts with an mbox "From " line is an mbox; each of its
// messages, readable or not, reaches the sink, so none is skipped silently.
void ReadMailFile(const std::string& path, const MailOptions& options, const MessageSink& sink);

// The same over bytes in memory, labelled `name`.
void ReadMailBytes(std::string_view bytes, const std::string& name, const MailOptions& options,
                   const MessageSink& sink);

}  // namespace lexora_mail

#endif  // LEXORA_TOOLS_MAIL_MAIL_READER_H
