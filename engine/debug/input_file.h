// Opening the files the debugger compiles and scans.
#ifndef LEXORA_ENGINE_DEBUG_INPUT_FILE_H
#define LEXORA_ENGINE_DEBUG_INPUT_FILE_H

#include <memory>
#include <string>

#include "lexora2/lexora2.h"

namespace Nimbra::Lexora {

struct ReleaseStream {
  void operator()(ILXStream* stream) const { stream->Release(); }
};
using InputFile = std::unique_ptr<ILXStream, ReleaseStream>;

// A file stream with its encoding detected; null when the file cannot be
// opened. RuntimeError when the library has not been initialised, since
// reading text needs the character property table.
InputFile OpenInputFile(const std::string& path);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_INPUT_FILE_H
