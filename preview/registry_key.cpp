#include "preview/registry_key.h"

#include <cstring>

#include "preview/exceptions.h"
#include "preview/unicode_text.h"

namespace BrenlowSoftware {
namespace {

constexpr const char* kWow64Node = "WOW6432Node";

bool IsStringType(uint32_t type) {
  return type == kRegSz || type == kRegExpandSz;
}

}  // namespace

CRegKey CRegKey::LocalMachine(const RegistryNode& exportRoot) {
  const RegistryNode* machine = exportRoot.FindSubkey("HKEY_LOCAL_MACHINE");
  static const RegistryNode kEmpty;
  if (!machine) machine = &kEmpty;
  return CRegKey(machine, machine->FindSubkey("Software"));
}

long CRegKey::FindSubkey(const std::string& subkey, const RegistryNode*& found) const {
  if (!subkey.empty() && subkey[0] == '\\') return kErrorBadPathname;
  const RegistryNode* node = node_;
  for (size_t start = 0; start < subkey.size();) {
    size_t end = subkey.find('\\', start);
    if (end == std::string::npos) end = subkey.size();
    std::string name = subkey.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    if (node == software_ && !EqualsIgnoringCase(name, kWow64Node)) {
      if (const RegistryNode* redirected = node->FindSubkey(kWow64Node)) node = redirected;
    }
    node = node->FindSubkey(name);
    if (!node) return kErrorFileNotFound;
  }
  found = node;
  return 0;
}

CRegKey CRegKey::OpenKey(const std::string& subkey) const {
  const RegistryNode* node = nullptr;
  if (long error = FindSubkey(subkey, node)) {
    throw CRegKeyException("Failed to open key '" + subkey + "'", error);
  }
  return CRegKey(node, software_);
}

bool CRegKey::SubkeyExists(const std::string& subkey) const {
  const RegistryNode* node = nullptr;
  long error = FindSubkey(subkey, node);
  if (error == kErrorFileNotFound) return false;
  if (error) {
    throw CRegKeyException("Failed while checking for existence of subkey '" + subkey + "'", error);
  }
  return true;
}

const RegistryValue* CRegKey::FindValue(const std::string& name, uint32_t type) const {
  const RegistryValue* value = node_->FindValue(name);
  if (!value) return nullptr;
  bool fits = type == kRegDword ? value->type == kRegDword : IsStringType(value->type);
  if (!fits) throw CRegKeyException("Failed to query value '" + name + "'", kErrorInvalidData);
  return value;
}

bool CRegKey::ReadString(const std::string& name, std::string& text,
                         const std::string& fallback) const {
  const RegistryValue* value = FindValue(name, kRegSz);
  text = value ? value->data : fallback;
  return value != nullptr;
}

std::string CRegKey::ReadString(const std::string& name) const {
  const RegistryValue* value = FindValue(name, kRegSz);
  if (!value) throw CRegKeyException("Failed to query value '" + name + "'", kErrorFileNotFound);
  return value->data;
}

bool CRegKey::ReadDword(const std::string& name, uint32_t& number, uint32_t fallback) const {
  const RegistryValue* value = FindValue(name, kRegDword);
  number = fallback;
  if (value) std::memcpy(&number, value->data.data(), sizeof number);
  return value != nullptr;
}

bool CRegKey::EnumValue(uint32_t& index, std::string& name, std::string& text) const {
  const std::vector<RegistryValue>& values = node_->Values();
  if (index >= values.size()) return false;
  const RegistryValue& value = values[index];
  if (!IsStringType(value.type))
    throw CRegKeyException("Failed to enumerate key", kErrorInvalidData);
  name = value.name;
  text = value.data;
  ++index;
  return true;
}

}  // namespace BrenlowSoftware
