// lexora read: shows what the scanner reads from a file.
#include <cstdio>
#include <string>

#include "engine/base/utf.h"
#include "engine/input/normalizing_reader.h"
#include "tools/lexora/commands.h"
#include "tools/lexora/stream_handle.h"

namespace lexora_cli {

int RunRead(const Arguments& args) {
  std::string encoding;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--encoding") {
      if (++i == args.size()) return UsageError("read", "--encoding needs a name");
      encoding = args[i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      return UsageError("read", "unknown option " + args[i]);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.empty()) return UsageError("read", "no file given");
  int status = 0;
  for (const std::string& file : files) {
    StreamHandle stream(CreateFileStreamWithEncoding(file.c_str(), encoding.c_str()));
    if (!stream) {
      std::fprintf(stderr, "lexora read: %s: cannot open\n", file.c_str());
      status = 1;
      continue;
    }
    using Nimbra::Lexora::NormalizingReader;
    NormalizingReader reader(stream.get(), NormalizingReader::Mode::Plain);
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
  return status;
}

}  // namespace lexora_cli
