#include "preview/upgrade_check.h"

#include <map>

#include <boost/format.hpp>
#include <boost/regex.hpp>

#include "lexora2/lexora2.h"
#include "preview/script_check.h"
#include "preview/unicode_text.h"

namespace {

// Stock rules the gateway shipped that no longer convert as written.
struct Rewrite {
  boost::regex pattern;
  std::string replacement;
};
const Rewrite kRewrites[] = {
    {boost::regex("NOT look\\* FOLLOWEDBY=1 forward to FOLLOWEDBY=6 \\(many OR all OR friends OR "
                  "anyone OR others OR people OR every\\*\\)"),
     "(forward to FOLLOWEDBY=6 (many OR all OR friends OR anyone OR others OR people OR every*) ) "
     "NOT PRECEDEDBY=1 look*"},
    {boost::regex("NOT look\\* FOLLOWEDBY=1 forward to FOLLOWEDBY=4 \\(many OR all OR friends OR "
                  "anyone OR others OR people OR every\\*\\) AND virus"),
     "(forward to FOLLOWEDBY=4 (many OR all OR friends OR anyone OR others OR people OR every*) "
     "NOT PRECEDEDBY=1 look*) AND virus"},
    {boost::regex("http\\:NEAR\\=12 \\(naked\\* OR nude\\*\\)"), "http: NEAR=12 (naked* OR nude*)"},
};

// Stock scripts whose warnings go to the log rather than the report.
const char* const kStockScripts[] = {"Generic Chain Letters", "Generic Virus Hoaxes",
                                     "Language - Pornographic", "Language - Mild Profanity",
                                     "Weapons related content"};

constexpr uint32_t kOutputSlack = 30;
constexpr uint32_t kMessageCapacity = 100;

bool IsStockScript(const std::string& name) {
  for (const char* stock : kStockScripts) {
    if (name == stock) return true;
  }
  return false;
}

// The text a buffer received, when the call delivered one.
std::u16string Delivered(const std::vector<char16_t>& buffer, uint32_t length) {
  if (length == 0 || length > buffer.size()) return {};
  return std::u16string(buffer.data(), length - 1);
}

std::string ItemLine(ScriptKind kind, const char* severity, const std::string& scriptName,
                     const std::string& message, const LX1Item& item) {
  if (kind == ScriptKind::kLexora) {
    return (boost::format("%s: %s: %s, Expression: %s\r\n") % scriptName % severity % message %
            item.Expression())
        .str();
  }
  return (boost::format("%s: %s: %s,%s Expression: %s\r\n") % scriptName % severity % message %
          item.NamePart() % item.Expression())
      .str();
}

}  // namespace

ConvertedItem ConvertItem(const LX1Item& item) {
  ConvertedItem converted;
  std::string expression = item.Expression();
  for (const Rewrite& rewrite : kRewrites) {
    expression = boost::regex_replace(expression, rewrite.pattern, rewrite.replacement,
                                      boost::regex_constants::format_literal);
  }
  bool rewritten = expression != item.Expression();
  if (rewritten) converted.message = "Script automatically updated: " + expression;

  std::u16string line = WidenText(expression);
  int32_t score = item.Score(), weighting = item.Weighting();
  uint32_t outputLength = static_cast<uint32_t>(line.size()) + kOutputSlack;
  uint32_t messageLength = kMessageCapacity;
  std::vector<char16_t> output(outputLength), message(messageLength);
  int32_t result = LXConvertLine(line.c_str(), score, weighting, output.data(), &outputLength,
                                 message.data(), &messageLength);
  if (result == 3) {
    output.resize(outputLength);
    message.resize(messageLength);
    result = LXConvertLine(line.c_str(), score, weighting, output.data(), &outputLength,
                           message.data(), &messageLength);
  }
  converted.line = Delivered(output, outputLength);
  std::string converterMessage;
  if (!NarrowText(Delivered(message, messageLength), converterMessage)) converterMessage.clear();
  if (!converterMessage.empty()) {
    converted.message += (rewritten ? ". " : "") + converterMessage;
  }
  converted.result = result == 0 && rewritten ? 1 : result;
  return converted;
}

int CheckScript(const std::string& scriptName, const std::vector<std::unique_ptr<LX1Item>>& items,
                ScriptKind kind, std::string& errors, std::string& warnings, ILogging& log) {
  CScriptCheck check;
  std::vector<std::string> errorLines, warningLines;
  int flags = 0;
  for (const std::unique_ptr<LX1Item>& item : items) {
    if (!item->IsValid()) continue;
    ConvertedItem converted = ConvertItem(*item);
    if (converted.result == 2) {
      errorLines.push_back(ItemLine(kind, "error", scriptName, converted.message, *item));
      flags |= kErrorReported;
      continue;
    }
    if (converted.result == 1) {
      std::string line = ItemLine(kind, "warning", scriptName, converted.message, *item);
      if (IsStockScript(scriptName)) {
        log.Log(2, line);
      } else {
        warningLines.push_back(std::move(line));
        flags |= kWarningReported;
      }
    }
    check.AddLine(converted.line);
  }
  std::string compileErrors;
  if (errorLines.empty() && !check.Compile(compileErrors)) {
    errorLines.push_back((boost::format("%s:%sPlease contact technical support for help\r\n\r\n") %
                          scriptName % compileErrors)
                             .str());
    flags |= kErrorReported;
  }
  for (const std::string& line : errorLines) errors += line;
  for (const std::string& line : FilterScoringWarnings(warningLines)) warnings += line;
  return flags;
}

std::vector<std::string> FilterScoringWarnings(const std::vector<std::string>& lines) {
  static const boost::regex kScoringWarning(
      "(.+) warning: (Decreasing|Increasing) scores are no longer supported",
      boost::regex::perl | boost::regex::icase);
  std::map<std::string, int> seen;
  std::vector<std::string> kept;
  for (const std::string& line : lines) {
    boost::smatch match;
    if (!boost::regex_search(line, match, kScoringWarning)) {
      kept.push_back(line);
      continue;
    }
    std::string key = match[1];
    int count = ++seen[key];
    if (count == 1) {
      kept.push_back(line);
    } else if (count == 2) {
      kept.push_back(
          (boost::format("%s warning: additional scoring warnings have been removed.") % key)
              .str() +
          "\r\n");
    }
  }
  return kept;
}
