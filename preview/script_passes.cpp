#include "preview/script_passes.h"

#include <memory>
#include <optional>
#include <vector>

#include "lexora2/lexora2.h"
#include "preview/encrypted_document.h"
#include "preview/excluded_files.h"
#include "preview/prop_bag.h"
#include "preview/unicode_text.h"
#include "preview/upgrade_check.h"

using BrenlowSoftware::CRegKey;

namespace {

constexpr char kLexoraBanner[] =
    "----- Lexora script upgrade message(s) ------------------------------------ \r\n";
constexpr char kCategoryBanner[] =
    "----- Category script upgrade message(s) ------------------------------------ \r\n";

// Each pass brackets its work with the engine's start and end.
class EngineScope {
 public:
  EngineScope() : started_(LXInitialize()) {}
  ~EngineScope() {
    if (started_) LXCleanUp();
  }
  EngineScope(const EngineScope&) = delete;
  EngineScope& operator=(const EngineScope&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_;
};

void AddBanner(const char* banner, std::string& text) {
  if (!text.empty()) text.insert(0, banner);
}

// The gateway escapes each item once more inside the bag's own escaping: a
// backslash makes the next character literal.
std::string UnescapedItem(const std::string& element) {
  std::string item;
  for (size_t i = 0; i < element.size(); ++i) {
    if (element[i] == '\\') ++i;
    if (i < element.size()) item += element[i];
  }
  return item;
}

int CheckLexoraScript(const std::string& name, const std::string& propBagText, std::string& errors,
                      std::string& warnings, ILogging& log) {
  CPropBag bag(propBagText);
  std::vector<std::unique_ptr<LX1Item>> items;
  for (const std::string& element : bag.GetStringArray("Items")) {
    items.push_back(std::make_unique<LX1ItemFromString>(UnescapedItem(element)));
  }
  // The script's scope is read as the gateway reads it, so a value of the
  // wrong type fails here as it would there; the check does not need it.
  bag.GetBool("Attachments", false);
  bag.GetBool("Body", true);
  bag.GetBool("Header", false);
  bag.GetBool("Subject", false);
  bag.GetInt("TriggerLevel", 5);
  return CheckScript(name, items, ScriptKind::kLexora, errors, warnings, log);
}

int CheckCategoryFile(const std::string& path, const std::string& name, std::string& errors,
                      std::string& warnings, ILogging& log) {
  std::optional<XmlDocument> document = XmlDocument::LoadFile(path);
  if (!document) return kCategoryChecked;
  std::optional<XmlElement> root = document->DocumentElement();
  if (!root) return kCategoryChecked;
  if (root->Name() == kEncryptedElementName) document = DecryptDocument(*root);
  int flags = kCategoryChecked;
  for (const XmlElement& lexora : document->ElementsByName("Lexora")) {
    std::vector<XmlElement> elements = lexora.ElementsByName("LexoraItem");
    if (elements.empty()) continue;
    std::vector<std::unique_ptr<LX1Item>> items;
    for (XmlElement& element : elements) {
      items.push_back(std::make_unique<LX1ItemFromXMLElement>(std::move(element)));
    }
    flags |= CheckScript(name, items, ScriptKind::kCategory, errors, warnings, log);
  }
  return flags;
}

}  // namespace

int CheckLexoraScripts(const CRegKey& configKey, std::string& errors, std::string& warnings,
                       ILogging& log) {
  EngineScope engine;
  if (!engine.Started()) return kErrorReported;
  CRegKey lexora = configKey.OpenKey("Lexora");
  int flags = 0;
  uint32_t index = 0;
  std::string name, propBagText;
  while (lexora.EnumValue(index, name, propBagText)) {
    flags |= CheckLexoraScript(name, propBagText, errors, warnings, log);
  }
  AddBanner(kLexoraBanner, errors);
  AddBanner(kLexoraBanner, warnings);
  return flags;
}

int CheckCategoryScripts(const HostConfiguration& host, const DriveMap& drives, std::string& errors,
                         std::string& warnings, ILogging& log) {
  std::string folder = JoinWindowsPath(host.installPath, "Config");
  EngineScope engine;
  if (!engine.Started()) return kErrorReported;
  std::string localFolder = drives.LocalPath(folder);
  int flags = 0;
  for (const std::string& name : ListXmlFiles(localFolder)) {
    if (IsExcludedConfigFile(LowerCaseText(name))) continue;
    flags |= CheckCategoryFile(localFolder + "/" + name, name, errors, warnings, log);
  }
  AddBanner(kCategoryBanner, errors);
  AddBanner(kCategoryBanner, warnings);
  return flags;
}
