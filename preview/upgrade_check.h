// Converting a legacy script's items and checking what the upgrade says.
#ifndef LXPREVIEW_UPGRADE_CHECK_H
#define LXPREVIEW_UPGRADE_CHECK_H

#include <memory>
#include <string>
#include <vector>

#include "preview/legacy_item.h"
#include "preview/text_log.h"

// Result flags of a check, combined over a pass.
constexpr int kWarningReported = 2;
constexpr int kErrorReported = 4;
constexpr int kCategoryChecked = 8;

enum class ScriptKind { kLexora, kCategory };

struct ConvertedItem {
  std::u16string line;  // the statement, when the converter delivered one
  std::string message;
  int result = 0;  // the converter's code; 1 also when the expression was rewritten
};

ConvertedItem ConvertItem(const LX1Item& item);

// Reports the items that fail or warn and, when none failed, a script that
// does not compile: errors and warnings are appended, the flags returned.
int CheckScript(const std::string& scriptName, const std::vector<std::unique_ptr<LX1Item>>& items,
                ScriptKind kind, std::string& errors, std::string& warnings, ILogging& log);

// Keeps one scoring warning per script, puts a summary line for the second
// and drops the rest.
std::vector<std::string> FilterScoringWarnings(const std::vector<std::string>& lines);

#endif  // LXPREVIEW_UPGRADE_CHECK_H
