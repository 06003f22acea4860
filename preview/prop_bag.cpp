#include "preview/prop_bag.h"

#include <cstdlib>

#include "preview/exceptions.h"
#include "preview/unicode_text.h"

namespace {

struct TypeName {
  CPropBag::Type type;
  const char* name;
};
constexpr TypeName kTypeNames[] = {
    {CPropBag::kInt, "int"},          {CPropBag::kIntArray, "inta"}, {CPropBag::kString, "str"},
    {CPropBag::kStringArray, "stra"}, {CPropBag::kBag, "pb"},        {CPropBag::kBagArray, "pba"},
    {CPropBag::kBool, "bool"},        {CPropBag::kDate, "date"},
};

bool FindType(const std::string& name, CPropBag::Type& type) {
  for (const TypeName& t : kTypeNames) {
    if (EqualsIgnoringCase(name, t.name)) {
      type = t.type;
      return true;
    }
  }
  return false;
}

char Unescaped(char c) {
  switch (c) {
    case '0':
      return '\0';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    default:
      return c;
  }
}

}  // namespace

CPropBag::CPropBag(const std::string& text) {
  for (size_t start = 0;;) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) return;
    std::string line = text.substr(start, end - start);
    start = end + 1;
    size_t equals = line.find('=');
    size_t colon = line.find(':', equals == std::string::npos ? 0 : equals);
    Type type;
    if (equals == std::string::npos || colon == std::string::npos ||
        !FindType(line.substr(equals + 1, colon - equals - 1), type)) {
      return;
    }
    properties_[line.substr(0, equals)] = Property{type, line.substr(colon + 1)};
  }
}

const CPropBag::Property* CPropBag::Find(const std::string& name, Type type) const {
  auto it = properties_.find(name);
  if (it == properties_.end()) return nullptr;
  if (it->second.type != type) throw CPropBagException();
  return &it->second;
}

int CPropBag::GetInt(const std::string& name, int fallback) const {
  const Property* property = Find(name, kInt);
  return property ? static_cast<int>(std::strtol(property->text.c_str(), nullptr, 10)) : fallback;
}

bool CPropBag::GetBool(const std::string& name, bool fallback) const {
  const Property* property = Find(name, kBool);
  return property ? property->text == "1" : fallback;
}

std::vector<std::string> CPropBag::GetStringArray(const std::string& name) const {
  std::vector<std::string> elements;
  const Property* property = Find(name, kStringArray);
  if (!property) return elements;
  std::string element;
  const std::string& text = property->text;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\t') {
      elements.push_back(std::move(element));
      element.clear();
    } else if (text[i] == '\\') {
      if (++i < text.size()) element += Unescaped(text[i]);
    } else {
      element += text[i];
    }
  }
  if (!element.empty()) elements.push_back(std::move(element));
  return elements;
}
