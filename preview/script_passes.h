// The two passes over the gateway's legacy scripts. Each appends to its own
// error and warning texts, each headed by the pass's banner when not empty,
// and returns the combined result flags (4 alone when the engine does not
// start).
#ifndef LXPREVIEW_SCRIPT_PASSES_H
#define LXPREVIEW_SCRIPT_PASSES_H

#include <string>

#include "preview/host_config.h"
#include "preview/registry_key.h"
#include "preview/text_log.h"
#include "preview/windows_path.h"

// The values of the configuration key's "Lexora" subkey: one property bag
// each.
int CheckLexoraScripts(const BrenlowSoftware::CRegKey& configKey, std::string& errors,
                       std::string& warnings, ILogging& log);

// The XML files of the installation's Config folder.
int CheckCategoryScripts(const HostConfiguration& host, const DriveMap& drives, std::string& errors,
                         std::string& warnings, ILogging& log);

#endif  // LXPREVIEW_SCRIPT_PASSES_H
