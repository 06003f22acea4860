// Reading command lines from the console or the start-up file.
#ifndef LEXORA_ENGINE_DEBUG_CONSOLE_LINE_H
#define LEXORA_ENGINE_DEBUG_CONSOLE_LINE_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace Nimbra::Lexora {

// The longest command line, in bytes, without its line end.
inline constexpr size_t kMaxLineLength = 1023;

enum class LineRead { Line, TooLong, End };

// Reads one line and strips its trailing carriage returns and line feeds.
// A last line without a line end counts as a line. A line longer than
// kMaxLineLength is read to its end and refused whole (TooLong): executing
// a cut command, or its rest as another, could act on the wrong file.
LineRead ReadCommandLine(FILE* in, std::string& line);

// The message for a refused line, printed as an error.
inline constexpr const char* kLineTooLong = "Error: line longer than 1023 characters ignored\n";

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_CONSOLE_LINE_H
