// The start-up file ".lxd": commands run before the first prompt.
#ifndef LEXORA_ENGINE_DEBUG_STARTUP_FILE_H
#define LEXORA_ENGINE_DEBUG_STARTUP_FILE_H

#include "engine/debug/debug_session.h"

namespace Nimbra::Lexora {

inline constexpr const char* kStartupFileName = ".lxd";

// Executes each line of ".lxd" in the current directory, when there is one,
// passing over empty lines and lines starting with "#". A command that
// quits ends the file, not the console.
void RunStartupFile(DebugSession& session);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_STARTUP_FILE_H
