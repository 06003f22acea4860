#include "engine/input/charset_sniffer.h"

#include <cstring>
#include <string_view>

namespace Nimbra::Lexora {
namespace {

using Bytes = std::string_view;

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsBlank(char c) {
  return static_cast<uint8_t>(c) < 33;
}

bool StartsWithNoCase(Bytes s, size_t at, Bytes word) {
  if (s.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(s[at + i]) != Lower(word[i])) return false;
  }
  return true;
}

bool EqualsNoCase(Bytes a, Bytes b) {
  return a.size() == b.size() && StartsWithNoCase(a, 0, b);
}

bool StoreName(Bytes value, char (&name)[kEncodingNameCapacity]) {
  if (value.empty() || value.size() >= kEncodingNameCapacity) return false;
  std::memcpy(name, value.data(), value.size());
  name[value.size()] = 0;
  return true;
}

bool SniffByteOrderMark(const uint8_t* s, size_t n, char (&name)[kEncodingNameCapacity]) {
  struct Mark {
    const char* bytes;
    size_t size;
    const char* encoding;
  };
  // Four-byte marks first, so that FF FE 00 00 is not taken for UTF-16LE.
  static const Mark kMarks[] = {{"\x00\x00\xFE\xFF", 4, "UTF-32BE"},
                                {"\xFF\xFE\x00\x00", 4, "UTF-32LE"},
                                {"\xEF\xBB\xBF", 3, "UTF-8"},
                                {"\xFE\xFF", 2, "UTF-16BE"},
                                {"\xFF\xFE", 2, "UTF-16LE"}};
  for (const Mark& m : kMarks) {
    if (n >= m.size && std::memcmp(s, m.bytes, m.size) == 0) {
      return StoreName(m.encoding, name);
    }
  }
  return false;
}

// Reads the XML declaration after "<?xml"; `i` indexes its first byte.
bool SniffXmlDeclaration(Bytes s, size_t i, char (&name)[kEncodingNameCapacity]) {
  static constexpr Bytes kEncoding = "encoding=";
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i >= s.size() || s[i] == '>') return false;
    if (s.compare(i, kEncoding.size(), kEncoding) != 0) {
      while (i < s.size() && !IsBlank(s[i]) && s[i] != '>') ++i;
      continue;
    }
    size_t quote = i + kEncoding.size();
    if (quote >= s.size() || (s[quote] != '"' && s[quote] != '\'')) return false;
    if (s.size() - quote < 8) return false;
    size_t close = s.find(s[quote], quote + 1);
    if (close == Bytes::npos) return false;
    Bytes value = s.substr(quote + 1, close - quote - 1);
    for (char c : value) {
      if (c == '>' || IsBlank(c)) return false;
    }
    return StoreName(value, name);
  }
  return false;
}

struct Attribute {
  Bytes name;
  Bytes value;
};

// Reads one attribute of a tag at `i`; false at the tag's end.
bool NextAttribute(Bytes s, size_t& i, Attribute& attribute) {
  while (i < s.size() && (IsBlank(s[i]) || s[i] == '/')) ++i;
  if (i >= s.size() || s[i] == '>') return false;
  size_t start = i;
  while (i < s.size() && s[i] != '=' && s[i] != '>' && !IsBlank(s[i])) ++i;
  attribute.name = s.substr(start, i - start);
  attribute.value = {};
  if (i >= s.size() || s[i] != '=') return true;
  ++i;
  if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
    char quote = s[i++];
    size_t close = s.find(quote, i);
    if (close == Bytes::npos) close = s.size();
    attribute.value = s.substr(i, close - i);
    i = close < s.size() ? close + 1 : close;
  } else {
    start = i;
    while (i < s.size() && !IsBlank(s[i]) && s[i] != '>') ++i;
    attribute.value = s.substr(start, i - start);
  }
  return true;
}

// The charset named in a content value such as "text/html; charset=koi8-r".
bool CharsetOfContent(Bytes content, char (&name)[kEncodingNameCapacity]) {
  size_t semicolon = content.find(';');
  if (semicolon == Bytes::npos) return false;
  size_t i = semicolon + 1;
  while (i < content.size() && IsBlank(content[i])) ++i;
  if (!StartsWithNoCase(content, i, "charset=")) return false;
  i += 8;
  Bytes rest = content.substr(i);
  if (!rest.empty() && (rest[0] == '"' || rest[0] == '\'')) {
    size_t close = rest.find(rest[0], 1);
    if (close == Bytes::npos) return false;
    return StoreName(rest.substr(1, close - 1), name);
  }
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != ';') ++end;
  return StoreName(rest.substr(0, end), name);
}

bool SniffMetaTag(Bytes s, size_t i, char (&name)[kEncodingNameCapacity]) {
  bool contentType = false;
  char charset[kEncodingNameCapacity];
  bool haveCharset = false;
  Attribute a;
  while (NextAttribute(s, i, a)) {
    if (EqualsNoCase(a.name, "http-equiv")) {
      contentType = EqualsNoCase(a.value, "Content-Type");
    } else if (EqualsNoCase(a.name, "content")) {
      haveCharset = CharsetOfContent(a.value, charset);
    }
  }
  if (!contentType || !haveCharset) return false;
  std::memcpy(name, charset, kEncodingNameCapacity);
  return true;
}

// A tag name followed by a blank or ">".
bool IsTag(Bytes s, size_t i, Bytes tag) {
  return StartsWithNoCase(s, i, tag) &&
         (i + tag.size() == s.size() || IsBlank(s[i + tag.size()]) || s[i + tag.size()] == '>');
}

bool SniffDeclarations(Bytes s, char (&name)[kEncodingNameCapacity]) {
  size_t lt = s.find('<');
  if (lt == Bytes::npos) return false;
  if (s.compare(lt + 1, 4, "?xml") == 0) {
    if (SniffXmlDeclaration(s, lt + 5, name)) return true;
    lt = s.find('<', lt + 1);
  }
  // The first "<" may open the html tag itself: a page that begins with
  // <html> is as much an HTML document as one that begins with a doctype.
  bool insideHtml = false;
  for (; lt != Bytes::npos; lt = s.find('<', lt + 1)) {
    if (IsTag(s, lt + 1, "html")) {
      insideHtml = true;
    } else if (insideHtml && IsTag(s, lt + 1, "meta") && SniffMetaTag(s, lt + 5, name)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool SniffSignature(const uint8_t* sample, size_t length, char (&name)[kEncodingNameCapacity]) {
  if (sample == nullptr || length == 0) return false;
  if (SniffByteOrderMark(sample, length, name)) return true;
  return SniffDeclarations(Bytes(reinterpret_cast<const char*>(sample), length), name);
}

}  // namespace Nimbra::Lexora
