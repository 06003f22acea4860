#include "python/src/mail_scan.h"

#include "engine/base/utf.h"

namespace lexora_python {

lexora_mail::MessageSink MessageScanner(Script& script, std::vector<MailOutcome>& outcomes) {
  return [&script, &outcomes](lexora_mail::MailMessage&& message) {
    MailOutcome& o = outcomes.emplace_back();
    o.label = std::move(message.label);
    if (!message.ok) {
      o.outcome = ScanFailure{Nimbra::Lexora::Utf8ToUtf16(message.error)};
      return;
    }
    try {
      ScanResult result = script.ScanText(message.text);
      result.label = o.label;
      o.outcome = std::move(result);
    } catch (const ScanFailure& failure) {
      o.outcome = failure;
    }
  };
}

std::vector<MailOutcome> ScanMailFiles(Script& script, const std::vector<std::string>& paths) {
  std::vector<MailOutcome> outcomes;
  for (const std::string& path : paths) {
    lexora_mail::ReadMailFile(path, lexora_mail::MailOptions{}, MessageScanner(script, outcomes));
  }
  return outcomes;
}

}  // namespace lexora_python
