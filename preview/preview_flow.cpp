#include "preview/preview_flow.h"

#include <exception>
#include <optional>

#include "preview/exceptions.h"
#include "preview/host_config.h"
#include "preview/product_keys.h"
#include "preview/registry_export.h"
#include "preview/registry_key.h"
#include "preview/script_passes.h"
#include "preview/text_log.h"

using BrenlowSoftware::CRegKey;
using BrenlowSoftware::CRegKeyException;

namespace {

// The first release whose configuration already uses the new engine.
constexpr uint32_t kUpgradedConfigVersion = 31;

CRegKey OpenProductKey(const CRegKey& machine) {
  try {
    return machine.OpenKey(kProductKey);
  } catch (const CRegKeyException&) {
    return machine.OpenKey(kOlderProductKey);
  }
}

// Prints each non-empty text; true when any was printed.
bool PrintTexts(std::ostream& out, const std::string& errors, const std::string& warnings) {
  for (const std::string* text : {&errors, &warnings}) {
    if (!text->empty()) out << *text << "\r\n";
  }
  out.flush();
  return !errors.empty() || !warnings.empty();
}

int Preview(const PreviewOptions& options, std::ostream& out) {
  std::unique_ptr<RegistryNode> registry = ReadRegistryExport(options.registryExport);
  CRegKey product = OpenProductKey(CRegKey::LocalMachine(*registry));
  std::string configName;
  product.ReadString("CurrentConfig", configName, "");
  if (configName.empty()) {
    out << "This preview tool must be run on the Vantorix host machine.\n";
    return 0;
  }
  CRegKey config = product.OpenKey(configName);
  uint32_t version = 0;
  config.ReadDword("ConfigVersion", version, 0);
  if (version >= kUpgradedConfigVersion) {
    out << "Corvane 7.2.0 or higher is already configured.\r\n";
    return 1;
  }
  std::string lexoraErrors, lexoraWarnings;
  CheckLexoraScripts(config, lexoraErrors, lexoraWarnings, PreviewLog());
  bool reported = PrintTexts(out, lexoraErrors, lexoraWarnings);

  HostConfiguration host = ReadHostConfiguration(*registry);
  std::string categoryErrors, categoryWarnings;
  CheckCategoryScripts(host, options.drives, categoryErrors, categoryWarnings, PreviewLog());
  reported |= PrintTexts(out, categoryErrors, categoryWarnings);

  if (!reported) {
    out << "No errors or warnings were found in your Lexora scripts. They will upgrade to Lexora "
           "2.\r\n";
  }
  return 0;
}

}  // namespace

int RunPreview(const PreviewOptions& options, std::ostream& out) {
  try {
    return Preview(options, out);
  } catch (const std::exception& e) {
    out << e.what() << "\r\n";
    return 1;
  }
}
