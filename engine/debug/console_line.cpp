#include "engine/debug/console_line.h"

namespace Nimbra::Lexora {

LineRead ReadCommandLine(FILE* in, std::string& line) {
  line.clear();
  bool tooLong = false;
  int c = std::getc(in);
  if (c == EOF) return LineRead::End;
  for (; c != EOF && c != '\n'; c = std::getc(in)) {
    // One byte beyond the limit is kept, so that a line of exactly
    // kMaxLineLength followed by carriage returns is not refused.
    if (line.size() <= kMaxLineLength) {
      line.push_back(static_cast<char>(c));
    } else if (c != '\r') {
      tooLong = true;
    }
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (tooLong || line.size() > kMaxLineLength) {
    line.clear();
    return LineRead::TooLong;
  }
  return LineRead::Line;
}

}  // namespace Nimbra::Lexora
