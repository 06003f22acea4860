// lexora encode: writes the enciphered "ENC" form of a script.
#include <cstdio>
#include <string>

#include "engine/base/utf.h"
#include "engine/input/transfer_encoding.h"
#include "tools/lexora/commands.h"
#include "tools/lexora/stream_handle.h"

namespace lexora_cli {

int RunEncode(const Arguments& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    return UsageError("encode", "expects exactly one script file");
  }
  StreamHandle stream(CreateFileStream(args[0].c_str()));
  if (!stream) {
    std::fprintf(stderr, "lexora encode: %s: cannot open\n", args[0].c_str());
    return 1;
  }
  std::u16string text;
  char16_t buffer[4096];
  while (uint32_t n = stream->Read(buffer, 4096)) text.append(buffer, n);
  // UTF-8 with a byte-order mark, so that any reader decodes the marker's
  // U+FEFF without having to detect the charset.
  std::string out =
      "\xEF\xBB\xBF" + Nimbra::Lexora::Utf16ToUtf8(Nimbra::Lexora::EncodeTransfer(text));
  out += "\r\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::ferror(stdout) ? 1 : 0;
}

}  // namespace lexora_cli
