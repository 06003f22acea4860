// XML configuration documents through libxml2. No document reaches the
// network or the file system beyond its own file, and none may declare
// entities, so nothing expands without bound.
#ifndef LXPREVIEW_XML_DOCUMENT_H
#define LXPREVIEW_XML_DOCUMENT_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

class XmlElement {
 public:
  XmlElement(std::shared_ptr<_xmlDoc> document, _xmlNode* node)
      : document_(std::move(document)), node_(node) {}

  std::string Name() const;
  // The text of the element and everything below it.
  std::string Text() const;
  // CXMLException "Element NAME missing attribute ATTRIBUTE" when missing.
  std::string RequiredAttribute(const std::string& name) const;
  std::string TextAttribute(const std::string& name, const std::string& fallback) const;
  // CXMLException "... type mismatch" when the value is not a 32-bit integer.
  int IntAttribute(const std::string& name, int fallback) const;
  // The elements of that name below this one, in document order.
  std::vector<XmlElement> ElementsByName(const std::string& name) const;

 private:
  std::optional<std::string> Attribute(const std::string& name) const;

  std::shared_ptr<_xmlDoc> document_;  // keeps the element alive
  _xmlNode* node_;
};

struct XmlParseError {
  int line = 0;
  int column = 0;
  std::string reason;
};

class XmlDocument {
 public:
  // Nothing when the file cannot be read or parsed.
  static std::optional<XmlDocument> LoadFile(const std::string& path);
  // Nothing, and the parser's position and reason, when the text does not parse.
  static std::optional<XmlDocument> LoadText(const std::string& text, XmlParseError& error);

  std::optional<XmlElement> DocumentElement() const;
  // Every element of that name, the document element included, in document order.
  std::vector<XmlElement> ElementsByName(const std::string& name) const;

 private:
  explicit XmlDocument(std::shared_ptr<_xmlDoc> document) : document_(std::move(document)) {}

  std::shared_ptr<_xmlDoc> document_;
};

#endif  // LXPREVIEW_XML_DOCUMENT_H
