// The registry as an administrator hands it over: a file written by the
// system's registry editor, read into a tree of keys and values.
#ifndef LXPREVIEW_REGISTRY_EXPORT_H
#define LXPREVIEW_REGISTRY_EXPORT_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Value types as the registry numbers them.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

struct RegistryValue {
  std::string name;
  uint32_t type = kRegSz;
  // String types: UTF-8 text (a multi-string's elements end in a zero byte).
  // A DWORD: its four bytes, little-endian. Anything else: the bytes.
  std::string data;
};

// Subkeys and value names compare without regard to case; values keep the
// order in which the export gave them.
class RegistryNode {
 public:
  RegistryNode* FindSubkey(const std::string& name) const;
  RegistryNode& CreateSubkey(const std::string& name);
  void DeleteSubkey(const std::string& name);
  const RegistryValue* FindValue(const std::string& name) const;
  const std::vector<RegistryValue>& Values() const { return values_; }
  void SetValue(RegistryValue value);
  void DeleteValue(const std::string& name);

 private:
  std::map<std::string, std::unique_ptr<RegistryNode>> subkeys_;  // by case-folded name
  std::vector<RegistryValue> values_;
};

// The root holds the predefined keys ("HKEY_LOCAL_MACHINE", ...). Bad files
// raise ExceptionBase naming the file and the line.
std::unique_ptr<RegistryNode> ReadRegistryExport(const std::string& path);

#endif  // LXPREVIEW_REGISTRY_EXPORT_H
