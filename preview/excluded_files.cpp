#include "preview/excluded_files.h"

#include <iterator>

namespace {

constexpr const char* kExcludedFiles[] = {
    // settings
    "settings.xml",
    "nodesettings.xml",
    "managersettings.xml",
    "servicesettings.xml",
    "policysettings.xml",
    "alertsettings.xml",
    "logsettings.xml",
    "quarantinesettings.xml",
    "archivesettings.xml",
    "reportsettings.xml",
    "smtpsettings.xml",
    "proxysettings.xml",
    // updates
    "update.xml",
    "updatesettings.xml",
    "updatehistory.xml",
    "autoupdate.xml",
    // features
    "features.xml",
    "featurelicense.xml",
    // lists
    "addresslists.xml",
    "domainlists.xml",
    "iplists.xml",
    "allowlist.xml",
    "blocklist.xml",
    "urllists.xml",
    "filetypelists.xml",
    "userlists.xml",
};
static_assert(std::size(kExcludedFiles) == 26);

}  // namespace

bool IsExcludedConfigFile(const std::string& lowerCaseName) {
  for (const char* name : kExcludedFiles) {
    if (lowerCaseName == name) return true;
  }
  return false;
}
