// Read-only registry keys over an export, as a 32-bit program sees them.
#ifndef LXPREVIEW_REGISTRY_KEY_H
#define LXPREVIEW_REGISTRY_KEY_H

#include <cstdint>
#include <string>

#include "preview/registry_export.h"

namespace BrenlowSoftware {

// An open key. Failures raise CRegKeyException with the codes the system
// would give. Nothing is ever written, so every open has full access.
class CRegKey {
 public:
  static CRegKey LocalMachine(const RegistryNode& exportRoot);

  CRegKey OpenKey(const std::string& subkey) const;
  bool SubkeyExists(const std::string& subkey) const;
  // False, and the default given, when the value does not exist.
  bool ReadString(const std::string& name, std::string& text, const std::string& fallback) const;
  std::string ReadString(const std::string& name) const;
  bool ReadDword(const std::string& name, uint32_t& number, uint32_t fallback) const;
  // Reads the string value at index and moves index on; false after the last.
  bool EnumValue(uint32_t& index, std::string& name, std::string& text) const;

 private:
  CRegKey(const RegistryNode* node, const RegistryNode* software)
      : node_(node), software_(software) {}
  long FindSubkey(const std::string& subkey, const RegistryNode*& found) const;
  const RegistryValue* FindValue(const std::string& name, uint32_t type) const;

  const RegistryNode* node_;
  // HKEY_LOCAL_MACHINE\Software, below which a 32-bit program is redirected
  // to WOW6432Node when the export comes from a 64-bit machine.
  const RegistryNode* software_;
};

}  // namespace BrenlowSoftware

#endif  // LXPREVIEW_REGISTRY_KEY_H
