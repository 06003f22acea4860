// Where the debugger's text goes: the console (standard output) or the
// output sink, which is the console until a log file is opened.
#ifndef LEXORA_ENGINE_DEBUG_OUTPUT_ROUTING_H
#define LEXORA_ENGINE_DEBUG_OUTPUT_ROUTING_H

#include <cstdio>
#include <string>
#include <string_view>

#include "engine/base/format.h"

namespace Nimbra::Lexora {

class OutputRouting {
 public:
  explicit OutputRouting(FILE* console) : console_(console) {}
  ~OutputRouting() { CloseLog(); }
  OutputRouting(const OutputRouting&) = delete;
  OutputRouting& operator=(const OutputRouting&) = delete;

  FILE* console() const { return console_; }
  FILE* sink() const { return log_ ? log_ : console_; }

  // Opens `path` for writing, truncated; only when that succeeds is the
  // previous log closed and the sink moved to the new file.
  bool OpenLog(const std::string& path);
  // Returns the sink to the console.
  void CloseLog();
  void Flush();

 private:
  FILE* console_;
  FILE* log_ = nullptr;
};

// Writes a printf-style text ("%ls" takes UTF-16) to `out`.
template <class... Args>
void Print(FILE* out, std::string_view format, const Args&... args) {
  std::string text = Format(format, args...);
  std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_OUTPUT_ROUTING_H
