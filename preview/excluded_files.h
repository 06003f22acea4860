// The gateway's own configuration files that share the Config folder with
// the category scripts and hold no rules.
#ifndef LXPREVIEW_EXCLUDED_FILES_H
#define LXPREVIEW_EXCLUDED_FILES_H

#include <string>

// Compares the lower-cased file name exactly.
bool IsExcludedConfigFile(const std::string& lowerCaseName);

#endif  // LXPREVIEW_EXCLUDED_FILES_H
