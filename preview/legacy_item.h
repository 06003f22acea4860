// One legacy rule: an expression line with its score and weighting.
#ifndef LXPREVIEW_LEGACY_ITEM_H
#define LXPREVIEW_LEGACY_ITEM_H

#include <cstdint>
#include <string>

#include "preview/xml_document.h"

struct LX1Item {
  virtual ~LX1Item() = default;
  virtual bool IsValid() const = 0;
  virtual int32_t Score() const = 0;
  virtual int32_t Weighting() const = 0;  // the converter's weighting code
  virtual std::string Expression() const = 0;
  // " Expression Name: NAME," or nothing: the name's part of a message.
  virtual std::string NamePart() const = 0;
};

// "Once Only" 2, "Standard" 1, "Increasing" 4, "Decreasing" 3, else 1.
int32_t WeightingCode(const std::string& word);

// "score;weighting;expression" as a Lexora script's Items hold it; without
// both ";" the item is not valid.
struct LX1ItemFromString : LX1Item {
  explicit LX1ItemFromString(const std::string& text);
  bool IsValid() const override { return valid; }
  int32_t Score() const override { return score; }
  int32_t Weighting() const override { return weighting; }
  std::string Expression() const override { return expression; }
  std::string NamePart() const override { return ""; }

  bool valid = false;
  int32_t score = 0;
  int32_t weighting = 0;
  std::string expression;
};

// A category file's LexoraItem element; Score and Weighting are read from it
// on every call, Data (required) once.
struct LX1ItemFromXMLElement : LX1Item {
  explicit LX1ItemFromXMLElement(XmlElement element);
  bool IsValid() const override { return true; }
  int32_t Score() const override;
  int32_t Weighting() const override;
  std::string Expression() const override { return expression; }
  std::string NamePart() const override;  // from the Name attribute

  XmlElement element;
  std::string expression;
};

#endif  // LXPREVIEW_LEGACY_ITEM_H
