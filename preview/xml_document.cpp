#include "preview/xml_document.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <boost/format.hpp>

#include "preview/bounded_file.h"
#include "preview/exceptions.h"

using BrenlowSoftware::CXMLException;

namespace {

constexpr size_t kMaxDocumentBytes = size_t{64} << 20;
const char kEntitiesRefused[] = "Entity declarations are not allowed";

xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
  return nullptr;
}

void InitializeLibxml() {
  static const bool initialized = [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternalEntity);
    return true;
  }();
  (void)initialized;
}

struct ParseState {
  bool entityDeclared = false;
  XmlParseError error;
};

// Any entity declaration stops the parse before it can be referred to.
void RefuseEntityDeclaration(void* context, const xmlChar*, int, const xmlChar*, const xmlChar*,
                             xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  auto* state = static_cast<ParseState*>(parser->_private);
  if (!state->entityDeclared) {
    state->entityDeclared = true;
    state->error = {parser->input ? parser->input->line : 0, parser->input ? parser->input->col : 0,
                    kEntitiesRefused};
  }
  xmlStopParser(parser);
}

std::shared_ptr<xmlDoc> Parse(const std::string& bytes, XmlParseError& error) {
  InitializeLibxml();
  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> parser(xmlNewParserCtxt(),
                                                                    xmlFreeParserCtxt);
  if (!parser) throw CXMLException("Unable to create an XML parser");
  ParseState state;
  parser->_private = &state;
  parser->sax->entityDecl = RefuseEntityDeclaration;
  xmlDocPtr document =
      xmlCtxtReadMemory(parser.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr,
                        nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (document && !state.entityDeclared && parser->wellFormed) {
    return std::shared_ptr<xmlDoc>(document, xmlFreeDoc);
  }
  if (document) xmlFreeDoc(document);
  if (state.entityDeclared) {
    error = state.error;
  } else if (const xmlError* last = xmlCtxtGetLastError(parser.get())) {
    error = {last->line, last->int2, last->message ? last->message : "Unknown error"};
    while (!error.reason.empty() && (error.reason.back() == '\n' || error.reason.back() == ' ')) {
      error.reason.pop_back();
    }
  }
  return nullptr;
}

std::string QualifiedName(const xmlNode* node) {
  std::string name = reinterpret_cast<const char*>(node->name);
  if (node->ns && node->ns->prefix) {
    return reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
  }
  return name;
}

void CollectElements(xmlNode* first, const std::string& name,
                     const std::shared_ptr<xmlDoc>& document, std::vector<XmlElement>& found) {
  for (xmlNode* node = first; node; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    if (QualifiedName(node) == name) found.emplace_back(document, node);
    CollectElements(node->children, name, document, found);
  }
}

void CollectText(const xmlNode* first, std::string& text) {
  for (const xmlNode* node = first; node; node = node->next) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      if (node->content) text += reinterpret_cast<const char*>(node->content);
    } else if (node->type == XML_ELEMENT_NODE) {
      CollectText(node->children, text);
    }
  }
}

bool ParseInt(const std::string& text, int& number) {
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(start, &end, 10);
  while (*end == ' ' || *end == '\t') ++end;
  if (end == start || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
    return false;
  }
  number = static_cast<int>(value);
  return true;
}

}  // namespace

std::string XmlElement::Name() const {
  return QualifiedName(node_);
}

std::string XmlElement::Text() const {
  std::string text;
  CollectText(node_->children, text);
  return text;
}

std::optional<std::string> XmlElement::Attribute(const std::string& name) const {
  xmlAttr* attribute = xmlHasProp(node_, reinterpret_cast<const xmlChar*>(name.c_str()));
  if (!attribute) return std::nullopt;
  std::string value;
  CollectText(attribute->children, value);
  return value;
}

std::string XmlElement::RequiredAttribute(const std::string& name) const {
  std::optional<std::string> value = Attribute(name);
  if (!value) {
    throw CXMLException((boost::format("Element %s missing attribute %s") % Name() % name).str());
  }
  return *value;
}

std::string XmlElement::TextAttribute(const std::string& name, const std::string& fallback) const {
  return Attribute(name).value_or(fallback);
}

int XmlElement::IntAttribute(const std::string& name, int fallback) const {
  std::optional<std::string> value = Attribute(name);
  if (!value) return fallback;
  int number = 0;
  if (!ParseInt(*value, number)) {
    throw CXMLException(
        (boost::format("Element \"%s\" attribute \"%s\" - type mismatch") % Name() % name).str());
  }
  return number;
}

std::vector<XmlElement> XmlElement::ElementsByName(const std::string& name) const {
  std::vector<XmlElement> found;
  CollectElements(node_->children, name, document_, found);
  return found;
}

std::optional<XmlDocument> XmlDocument::LoadFile(const std::string& path) {
  std::optional<std::string> bytes = ReadBoundedFile(path, kMaxDocumentBytes);
  if (!bytes) return std::nullopt;
  XmlParseError ignored;
  std::shared_ptr<xmlDoc> document = Parse(*bytes, ignored);
  if (!document) return std::nullopt;
  return XmlDocument(std::move(document));
}

std::optional<XmlDocument> XmlDocument::LoadText(const std::string& text, XmlParseError& error) {
  std::shared_ptr<xmlDoc> document = Parse(text, error);
  if (!document) return std::nullopt;
  return XmlDocument(std::move(document));
}

std::optional<XmlElement> XmlDocument::DocumentElement() const {
  xmlNode* root = xmlDocGetRootElement(document_.get());
  if (!root) return std::nullopt;
  return XmlElement(document_, root);
}

std::vector<XmlElement> XmlDocument::ElementsByName(const std::string& name) const {
  std::vector<XmlElement> found;
  CollectElements(document_->children, name, document_, found);
  return found;
}
