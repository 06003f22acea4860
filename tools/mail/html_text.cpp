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

Role RoleOf(const xmlChar* name) {
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
  auto found = roles.find(reinterpret_cast<const char*>(name));
  return found == roles.end() ? Role::Inline : found->second;
}

bool AsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Gathers text with HTML's white-space rules: runs collapse to one blank, and
// breaks never pile up into more than one empty line.
class TextWriter {
 public:
  // Appends runs, not characters: the parser hands over text a kilobyte at a time.
  void Text(std::string_view text, bool preformatted) {
    if (preformatted) {
      if (!text.empty()) Word(text);
      return;
    }
    while (!text.empty()) {
      size_t blank = 0;
      while (blank < text.size() && AsciiSpace(text[blank])) ++blank;
      if (blank > 0) space_ = !out_.empty() && out_.back() != '\n';
      size_t word = blank;
      while (word < text.size() && !AsciiSpace(text[word])) ++word;
      if (word > blank) Word(text.substr(blank, word - blank));
      text.remove_prefix(word);
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
  // Text after the pending blank, if any.
  void Word(std::string_view text) {
    if (space_) out_ += ' ';
    space_ = false;
    out_ += text;
  }

  std::string out_;
  bool space_ = false;
};

// Follows the parser's events; elements inside a hidden one are counted but
// otherwise ignored.
struct Reader {
  TextWriter writer;
  int hidden = 0;
  int preformatted = 0;

  // The events carry the parser, which carries the reader.
  static Reader& Of(void* context) {
    return *static_cast<Reader*>(static_cast<htmlParserCtxtPtr>(context)->_private);
  }
  static void Start(void* context, const xmlChar* name, const xmlChar**) {
    Reader& r = Of(context);
    Role role = RoleOf(name);
    if (r.hidden > 0 || role == Role::Hidden) {
      ++r.hidden;
    } else {
      r.Edge(role, true);
    }
  }
  static void End(void* context, const xmlChar* name) {
    Reader& r = Of(context);
    if (r.hidden > 0) {
      --r.hidden;
    } else {
      r.Edge(RoleOf(name), false);
    }
  }
  static void Characters(void* context, const xmlChar* text, int length) {
    Reader& r = Of(context);
    if (r.hidden == 0) {
      r.writer.Text(std::string_view(reinterpret_cast<const char*>(text), length),
                    r.preformatted > 0);
    }
  }
  static void Quiet(void*, const char*, ...) {}

  // An element's edges: where blocks and cells separate their text.
  void Edge(Role role, bool opening) {
    if (role == Role::Block || role == Role::Preformatted) writer.Break(false);
    if (role == Role::Cell) writer.Space();
    if (role == Role::LineBreak && opening) writer.Break(true);
    if (role == Role::Preformatted) preformatted += opening ? 1 : -1;
  }
};

struct FreeContext {
  void operator()(htmlParserCtxtPtr context) const { htmlFreeParserCtxt(context); }
};

}  // namespace

std::string HtmlText(std::string_view utf8Html) {
  std::unique_ptr<htmlParserCtxt, FreeContext> context(htmlNewParserCtxt());
  if (!context) return std::string();
  // Events rather than a tree: the text is all that is wanted. (The push
  // parser is not used: it drops the text after a stray end tag.)
  htmlSAXHandler& events = *context->sax;
  events = htmlSAXHandler{};
  events.startElement = Reader::Start;
  events.endElement = Reader::End;
  events.characters = Reader::Characters;
  events.ignorableWhitespace = Reader::Characters;
  events.cdataBlock = Reader::Characters;
  events.warning = Reader::Quiet;
  events.error = Reader::Quiet;
  events.fatalError = Reader::Quiet;
  Reader reader;
  context->_private = &reader;
  // The parser counts its input in int; the text is already UTF-8, whatever
  // a meta tag in it says.
  int length = static_cast<int>(std::min<size_t>(utf8Html.size(), INT_MAX));
  htmlCtxtReadMemory(
      context.get(), utf8Html.data(), length, nullptr, "UTF-8",
      HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  return reader.writer.Take();
}

}  // namespace lexora_mail
