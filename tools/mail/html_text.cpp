#include "tools/mail/html_text.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace lexora_mail {
namespace {

// What an element does to the text around it.
enum class Role { Inline, Hidden, Block, Preformatted, Cell, LineBreak };

Role RoleOf(const xmlNode* node) {
  static const std::unordered_map<std::string_view, Role> roles = [] {
    std::unordered_map<std::string_view, Role> r;
    for (const char* name : {"head", "script", "style", "template"}) r[name] = Role::Hidden;
    for (const char* name :
         {"address", "article", "aside", "blockquote", "caption",    "center", "dd",
          "div",     "dl",      "dt",    "fieldset",   "figcaption", "figure", "footer",
          "form",    "h1",      "h2",    "h3",         "h4",         "h5",     "h6",
          "header",  "hr",      "li",    "main",       "nav",        "ol",     "option",
          "p",       "section", "table", "tr",         "ul"}) {
      r[name] = Role::Block;
    }
    r["pre"] = Role::Preformatted;
    r["td"] = r["th"] = Role::Cell;
    r["br"] = Role::LineBreak;
    return r;
  }();
  auto found = roles.find(reinterpret_cast<const char*>(node->name));
  return found == roles.end() ? Role::Inline : found->second;
}

bool AsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Gathers text with HTML's white-space rules: runs collapse to one blank, and
// breaks never pile up into more than one empty line.
class TextWriter {
 public:
  void Text(const char* text, bool preformatted) {
    for (const char* p = text; *p != '\0'; ++p) {
      if (!preformatted && AsciiSpace(*p)) {
        space_ = !out_.empty() && out_.back() != '\n';
        continue;
      }
      if (space_) out_ += ' ';
      space_ = false;
      out_ += *p;
    }
  }
  // Ends the line; a forced break (<br>) also ends an empty one.
  void Break(bool forced) {
    space_ = false;
    size_t breaks = 0;
    while (breaks < 2 && breaks < out_.size() && out_[out_.size() - 1 - breaks] == '\n') ++breaks;
    if (breaks < out_.size() && (breaks == 0 || (forced && breaks == 1))) out_ += '\n';
  }
  void Space() { space_ = !out_.empty() && out_.back() != '\n'; }
  std::string Take() {
    while (!out_.empty() && out_.back() == '\n') out_.pop_back();
    return std::move(out_);
  }

 private:
  std::string out_;
  bool space_ = false;
};

struct FreeDocument {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

}  // namespace

std::string HtmlText(std::string_view utf8Html) {
  int length = static_cast<int>(std::min<size_t>(utf8Html.size(), INT_MAX));
  std::unique_ptr<xmlDoc, FreeDocument> document(htmlReadMemory(
      utf8Html.data(), length, nullptr, "UTF-8",
      HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
  if (!document) return std::string();
  TextWriter writer;
  int preformatted = 0;
  // An element's edges: where blocks and cells separate their text.
  auto edge = [&](Role role, bool opening) {
    if (role == Role::Block || role == Role::Preformatted) writer.Break(false);
    if (role == Role::Cell) writer.Space();
    if (role == Role::LineBreak && opening) writer.Break(true);
    if (role == Role::Preformatted) preformatted += opening ? 1 : -1;
  };
  // A walk without recursion: down to the first child, else along to the next
  // sibling, else back up, closing each element on the way.
  xmlNode* node = xmlDocGetRootElement(document.get());
  while (node != nullptr) {
    bool descend = false;
    if (node->type == XML_ELEMENT_NODE) {
      Role role = RoleOf(node);
      if (role != Role::Hidden) {
        edge(role, true);
        descend = node->children != nullptr;
      }
    } else if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      if (node->content)
        writer.Text(reinterpret_cast<const char*>(node->content), preformatted > 0);
    }
    if (descend) {
      node = node->children;
      continue;
    }
    // Close every element that has no next sibling, then move along.
    for (;;) {
      if (node->type == XML_ELEMENT_NODE) {
        Role role = RoleOf(node);
        if (role != Role::Hidden) edge(role, false);
      }
      if (node->next != nullptr) {
        node = node->next;
        break;
      }
      node = node->parent;
      if (node == nullptr || node->type == XML_DOCUMENT_NODE ||
          node->type == XML_HTML_DOCUMENT_NODE) {
        node = nullptr;
        break;
      }
    }
  }
  return writer.Take();
}

}  // namespace lexora_mail
