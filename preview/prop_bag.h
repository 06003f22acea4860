// The gateway's property-bag text: lines of "name=type:value".
#ifndef LXPREVIEW_PROP_BAG_H
#define LXPREVIEW_PROP_BAG_H

#include <string>
#include <unordered_map>
#include <vector>

class CPropBag {
 public:
  enum Type { kInt = 1, kIntArray, kString, kStringArray, kBag, kBagArray, kBool, kDate };

  // Reading stops at the first line without a final line feed or with no
  // "=", ":" or known type name; what was read before it stays.
  explicit CPropBag(const std::string& text);

  // A missing property gives the fallback; one of another type raises
  // CPropBagException.
  int GetInt(const std::string& name, int fallback) const;
  bool GetBool(const std::string& name, bool fallback) const;
  std::vector<std::string> GetStringArray(const std::string& name) const;

 private:
  struct Property {
    Type type;
    std::string text;
  };
  const Property* Find(const std::string& name, Type type) const;

  std::unordered_map<std::string, Property> properties_{17};
};

#endif  // LXPREVIEW_PROP_BAG_H
