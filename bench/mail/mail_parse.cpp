// The mail reader alone: reads every file as `lexora scan --mail` does (MIME
// parse, transfer and charset decoding, HTML to text) and drops the text, so
// that the bench can tell the reader's cost from the scan's.
//   lexora_mail_parse [-j THREADS] FILE...
// Prints how many messages were read, how many failed and the UTF-16 units of
// text they gave.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tools/mail/mail_reader.h"

int main(int argc, char** argv) {
  unsigned threads = 1;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-j" && i + 1 < argc) {
      threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: lexora_mail_parse [-j THREADS] FILE...\n");
    return 2;
  }
  std::atomic<size_t> next{0}, messages{0}, failed{0}, units{0};
  auto work = [&] {
    for (size_t i; (i = next++) < files.size();) {
      lexora_mail::ReadMailFile(files[i], {}, [&](lexora_mail::MailMessage&& m) {
        ++messages;
        if (!m.ok) ++failed;
        units += m.text.size();
      });
    }
  };
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);
  for (std::thread& t : workers) t.join();
  std::printf("%zu messages, %zu failed, %zu UTF-16 units\n", messages.load(), failed.load(),
              units.load());
  return failed > 0 ? 1 : 0;
}
