// lxpreview: which of a Corvane gateway's legacy rules the upgrade to the
// Lexora 2 engine would break.
#include <cstdio>
#include <iostream>

#include "preview/command_line.h"
#include "preview/console_wait.h"
#include "preview/preview_flow.h"

int main(int argc, char** argv) {
  PreviewOptions options;
  std::string error;
  switch (ParseCommandLine(argc, argv, options, error)) {
    case CommandLine::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case CommandLine::kUsageError:
      std::fprintf(stderr, "lxpreview: %s\n%s", error.c_str(), kUsage);
      return 2;
    case CommandLine::kPreview:
      break;
  }
  int exitCode = RunPreview(options, std::cout);
  std::cout << "Press any key to exit.\n" << std::flush;
  if (options.waitForKey) WaitForKeyPress();
  return exitCode;
}
