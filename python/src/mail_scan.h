// Scans mail as `lexora scan --mail` does: each message's text as its reader
// sees it, an mbox giving one outcome per message.
#ifndef LEXORA_PYTHON_MAIL_SCAN_H
#define LEXORA_PYTHON_MAIL_SCAN_H

#include <string>
#include <vector>

#include "python/src/script.h"
#include "tools/mail/mail_reader.h"

namespace lexora_python {

// One message's outcome under its label: the file's name, or "FILE:N" for
// the N-th message of an mbox.
struct MailOutcome {
  std::string label;
  ScanOutcome outcome;
};

// Scans each message it is handed into `outcomes`. A message that cannot be
// read or scanned is a ScanFailure in its place; the messages after it are
// still scanned. Called without the GIL.
lexora_mail::MessageSink MessageScanner(Script& script, std::vector<MailOutcome>& outcomes);
std::vector<MailOutcome> ScanMailFiles(Script& script, const std::vector<std::string>& paths);

}  // namespace lexora_python

#endif  // LEXORA_PYTHON_MAIL_SCAN_H
