#ifndef LXPREVIEW_COMMAND_LINE_H
#define LXPREVIEW_COMMAND_LINE_H

#include <string>

#include "preview/preview_flow.h"

extern const char kUsage[];

enum class CommandLine { kPreview, kHelp, kUsageError };

// On a usage error, error says what was wrong.
CommandLine ParseCommandLine(int argc, char** argv, PreviewOptions& options, std::string& error);

#endif  // LXPREVIEW_COMMAND_LINE_H
