// The preview from the registry to the report.
#ifndef LXPREVIEW_PREVIEW_FLOW_H
#define LXPREVIEW_PREVIEW_FLOW_H

#include <ostream>
#include <string>

#include "preview/windows_path.h"

struct PreviewOptions {
  std::string registryExport;
  DriveMap drives;
  bool waitForKey = true;
};

// Prints the report, or why there is none; returns the exit code.
int RunPreview(const PreviewOptions& options, std::ostream& out);

#endif  // LXPREVIEW_PREVIEW_FLOW_H
