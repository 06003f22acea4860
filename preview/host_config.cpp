#include "preview/host_config.h"

#include <exception>

#include "preview/product_keys.h"
#include "preview/registry_key.h"

using BrenlowSoftware::CRegKey;

HostConfiguration ReadHostConfiguration(const RegistryNode& exportRoot) {
  HostConfiguration record;
  try {
    CRegKey machine = CRegKey::LocalMachine(exportRoot);
    const char* productPath = nullptr;
    if (machine.SubkeyExists(kProductKey)) {
      productPath = kProductKey;
    } else if (machine.SubkeyExists(kOlderProductKey)) {
      productPath = kOlderProductKey;
    } else {
      return record;
    }
    CRegKey product = machine.OpenKey(productPath);
    // The gateway's other settings are read only because a failure to read
    // them leaves the record not valid.
    if (product.SubkeyExists("Manager")) {
      CRegKey manager = product.OpenKey("Manager");
      uint32_t rpcPort = 0;
      manager.ReadDword("RPCPort", rpcPort, 19001);
      std::string logging;
      manager.OpenKey("Directories").ReadString("Logging", logging, "Logging");
    }
    std::string installPath = product.ReadString("InstallPath");
    if (product.ReadString("CurrentConfig").empty()) {
      record.errorText = "Error reading Corvane registry key. No valid configuration.";
      return record;
    }
    record.installPath = installPath;
    record.valid = true;
  } catch (const std::exception& e) {
    record.errorText = std::string("Error opening Corvane registry key. ") + e.what();
  }
  return record;
}
