#include "preview/legacy_item.h"

#include <cstdlib>

#include "preview/unicode_text.h"

namespace {

struct WeightingWord {
  const char* word;
  int32_t code;
};
constexpr WeightingWord kWeightingWords[] = {
    {"Once Only", 2}, {"Standard", 1}, {"Increasing", 4}, {"Decreasing", 3}};

int32_t LeadingNumber(const std::string& text) {
  return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace

int32_t WeightingCode(const std::string& word) {
  for (const WeightingWord& w : kWeightingWords) {
    if (EqualsIgnoringCase(word, w.word)) return w.code;
  }
  return 1;
}

LX1ItemFromString::LX1ItemFromString(const std::string& text) {
  size_t first = text.find(';');
  if (first == std::string::npos) return;
  size_t second = text.find(';', first + 1);
  if (second == std::string::npos) return;
  score = LeadingNumber(text.substr(0, first));
  weighting = LeadingNumber(text.substr(first + 1, second - first - 1));
  expression = text.substr(second + 1);
  valid = true;
}

LX1ItemFromXMLElement::LX1ItemFromXMLElement(XmlElement item)
    : element(std::move(item)), expression(element.RequiredAttribute("Data")) {}

int32_t LX1ItemFromXMLElement::Score() const {
  return element.IntAttribute("Score", 10);
}

int32_t LX1ItemFromXMLElement::Weighting() const {
  return WeightingCode(element.TextAttribute("Weighting", "Once Only"));
}

std::string LX1ItemFromXMLElement::NamePart() const {
  std::string name = element.TextAttribute("Name", "");
  return name.empty() ? "" : " Expression Name: " + name + ",";
}
