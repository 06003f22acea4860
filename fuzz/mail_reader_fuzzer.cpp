// Raw bytes as a mail file -> the mail reader (MIME parsing, transfer
// encodings, charsets, HTML, mbox splitting) -> every message's text or error.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/mail/mail_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lexora_mail::MailOptions options;
  options.attachments = size > 0 && (data[0] & 1) != 0;
  options.headers = {"To", "X-Note"};
  lexora_mail::ReadMailBytes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz",
                             options, [](lexora_mail::MailMessage&& m) {
                               // A message gives text or says why not.
                               if (!m.ok && m.error.empty()) std::abort();
                             });
  return 0;
}
