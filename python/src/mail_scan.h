// Scans mail as `lexora scan --mail` does: each message's text as its reader
// sees it, an mbox giving one outcome per message.
#ifndef LEXORA_PYTHON_MAIL_SCAN_H
#define LEXORA_PYTHON_MAIL_SCAN_H

#include <string>
#include <string_view>
#include <vector>

#include "python/src/script.h"

namespace lexora_python {

// One message's outcome under its label: the file's name, or "FILE:N" for
// the N-th message of an mbox.
struct MailOutcome {
  std::string label;
  ScanOutcome outcome;
};

// A message that cannot be read or scanned is a ScanFailure in its place;
// the messages after it are still scanned. Called without the GIL.
std::vector<MailOutcome> ScanMailFiles(Script& script, const std::vector<std::string>& paths);
std::vector<MailOutcome> ScanMailBytes(Script& script, std::string_view bytes,
                                       const std::string& name);

}  // namespace lexora_python

#endif  // LEXORA_PYTHON_MAIL_SCAN_H
