#include "preview/registry_export.h"

#include <algorithm>
#include <cstring>

#include <unicode/unistr.h>
#include <boost/format.hpp>

#include "preview/bounded_file.h"
#include "preview/exceptions.h"
#include "preview/unicode_text.h"

namespace {

constexpr size_t kMaxExportBytes = size_t{32} << 20;
// The registry itself advises far less; anything larger is not a gateway's.
constexpr size_t kMaxValueBytes = size_t{1} << 20;

const char* const kRootKeys[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                                 "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::u16string Utf16LeUnits(const std::string& bytes, size_t start) {
  std::u16string units((bytes.size() - start) / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[start + 2 * i]) |
                                     static_cast<unsigned char>(bytes[start + 2 * i + 1]) << 8);
  }
  return units;
}

std::string Windows1252Text(const std::string& bytes) {
  std::string text;
  icu::UnicodeString(bytes.data(), static_cast<int32_t>(bytes.size()), "windows-1252")
      .toUTF8String(text);
  return text;
}

// Reads quoted text from pos up to the closing quote, which it passes; false
// when the line ends first. A backslash makes the next character literal.
bool ScanQuoted(const std::string& line, size_t& pos, std::string& text) {
  for (; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < line.size()) c = line[++pos];
    text += c;
  }
  return false;
}

bool ParseHexNumber(const std::string& text, size_t maxDigits, uint32_t& number) {
  if (text.empty() || text.size() > maxDigits) return false;
  number = 0;
  for (char c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return false;
    number = number * 16 + static_cast<uint32_t>(digit);
  }
  return true;
}

// Reads one export file. Narrow text is UTF-8 from here on; `wide_` says how
// the file held it, which also decides how hex(2) and hex(7) data read.
class ExportParser {
 public:
  ExportParser(std::string path, bool wide) : path_(std::move(path)), wide_(wide) {}

  std::unique_ptr<RegistryNode> Parse(const std::string& text);

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ExceptionBase(
        (boost::format("Registry export '%s', line %d: %s") % path_ % line_ % what).str());
  }
  void ReadKeyLine(const std::string& line);
  void ReadValueLine(const std::string& line);
  std::string StringData(std::string rest);
  std::string HexData(std::string text);
  std::string BytesAsText(const std::string& bytes) const;
  RegistryNode* RootKey(const std::string& name);

  std::string path_;
  bool wide_;
  std::unique_ptr<RegistryNode> root_ = std::make_unique<RegistryNode>();
  RegistryNode* key_ = nullptr;
  bool inDeletedKey_ = false;
  struct Line {
    std::string text;
    std::string ending;  // "\r\n", "\n", or nothing at the end of the file
  };
  std::vector<Line> lines_;
  size_t line_ = 0;  // 1-based number of the line being read
};

std::unique_ptr<RegistryNode> ExportParser::Parse(const std::string& text) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    Line line{text.substr(start, end - start), end < text.size() ? "\n" : ""};
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.ending.insert(0, "\r");
    }
    lines_.push_back(std::move(line));
    start = end + 1;
  }
  const std::string& header = lines_[0].text;
  if (header != "Windows Registry Editor Version 5.00" && header != "REGEDIT4") {
    throw ExceptionBase(
        (boost::format("Registry export '%s' does not begin with \"Windows Registry Editor "
                       "Version 5.00\" or \"REGEDIT4\"") %
         path_)
            .str());
  }
  for (line_ = 2; line_ <= lines_.size(); ++line_) {
    const std::string& raw = lines_[line_ - 1].text;
    std::string line = raw.substr(std::min(raw.find_first_not_of(" \t"), raw.size()));
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      ReadKeyLine(Trimmed(line));
    } else if (line[0] == '"' || line[0] == '@') {
      ReadValueLine(line);
    } else {
      Fail("not a key, a value or a comment");
    }
  }
  return std::move(root_);
}

RegistryNode* ExportParser::RootKey(const std::string& name) {
  for (const char* root : kRootKeys) {
    if (EqualsIgnoringCase(name, root)) return &root_->CreateSubkey(root);
  }
  Fail((boost::format("unknown root key \"%s\"") % name).str());
}

void ExportParser::ReadKeyLine(const std::string& line) {
  if (line.back() != ']') Fail("key name without a closing \"]\"");
  bool deletion = line.size() > 1 && line[1] == '-';
  std::string path = line.substr(deletion ? 2 : 1, line.size() - (deletion ? 3 : 2));
  std::vector<std::string> names;
  for (size_t start = 0;;) {
    size_t end = path.find('\\', start);
    names.push_back(path.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  for (const std::string& name : names) {
    if (name.empty()) Fail("empty key name in \"" + path + "\"");
  }
  RegistryNode* node = RootKey(names[0]);
  if (deletion) {
    for (size_t i = 1; node && i + 1 < names.size(); ++i) {
      node = node->FindSubkey(names[i]);
    }
    if (node && names.size() > 1) node->DeleteSubkey(names.back());
    key_ = nullptr;
    inDeletedKey_ = true;
    return;
  }
  for (size_t i = 1; i < names.size(); ++i) node = &node->CreateSubkey(names[i]);
  key_ = node;
  inDeletedKey_ = false;
}

// A string value holding line breaks runs on over the lines after it, as the
// registry editor writes it.
std::string ExportParser::StringData(std::string rest) {
  std::string text;
  const size_t firstLine = line_;
  for (size_t pos = 1;; pos = 0) {
    if (ScanQuoted(rest, pos, text)) {
      if (!Trimmed(rest.substr(pos)).empty()) Fail("text after the closing quote of a string");
      return text;
    }
    if (line_ >= lines_.size()) {
      line_ = firstLine;
      Fail("unterminated string");
    }
    text += lines_[line_ - 1].ending;
    rest = lines_[line_++].text;
  }
}

void ExportParser::ReadValueLine(const std::string& line) {
  size_t pos = 0;
  RegistryValue value;
  if (line[0] == '@') {
    pos = 1;
  } else {
    pos = 1;
    if (!ScanQuoted(line, pos, value.name)) Fail("unterminated value name");
  }
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '=') Fail("value name without \"=\"");
  std::string data = Trimmed(line.substr(pos + 1));
  if (data == "-") {
    if (key_) key_->DeleteValue(value.name);
    return;
  }
  if (!data.empty() && data[0] == '"') {
    value.data = StringData(line.substr(line.find('"', pos)));
  } else if (data.compare(0, 6, "dword:") == 0) {
    uint32_t number = 0;
    if (!ParseHexNumber(data.substr(6), 8, number)) Fail("bad dword value \"" + data + "\"");
    value.type = kRegDword;
    value.data.assign(reinterpret_cast<const char*>(&number), 4);
  } else if (data.compare(0, 3, "hex") == 0) {
    size_t colon = data.find(':');
    value.type = kRegBinary;
    if (colon == std::string::npos) Fail("hex value without \":\"");
    if (colon != 3) {
      if (data[3] != '(' || data[colon - 1] != ')' ||
          !ParseHexNumber(data.substr(4, colon - 5), 8, value.type)) {
        Fail("bad hex value type \"" + data.substr(0, colon) + "\"");
      }
    }
    value.data = HexData(data.substr(colon + 1));
    if (value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz) {
      value.data = BytesAsText(value.data);
      if (value.type != kRegMultiSz) value.data.resize(strlen(value.data.c_str()));
    } else if (value.type == kRegDword && value.data.size() != 4) {
      value.type = kRegBinary;  // not readable as a number, as on the real registry
    }
  } else {
    Fail("unreadable value data \"" + data + "\"");
  }
  if (value.data.size() > kMaxValueBytes) Fail("value larger than 1 MiB");
  if (!key_) {
    if (inDeletedKey_) return;  // the registry editor ignores them too
    Fail("value outside a key");
  }
  key_->SetValue(std::move(value));
}

// Byte lists run on over lines that end in a backslash.
std::string ExportParser::HexData(std::string text) {
  text = Trimmed(text);
  while (!text.empty() && text.back() == '\\') {
    text.pop_back();
    if (line_ >= lines_.size()) Fail("truncated: the hex value goes on past the end of the file");
    text += Trimmed(lines_[line_++].text);
  }
  std::string bytes;
  if (text.empty()) return bytes;
  for (size_t start = 0;;) {
    size_t end = text.find(',', start);
    std::string item = Trimmed(text.substr(start, end == std::string::npos ? end : end - start));
    int high = item.size() == 2 ? HexDigit(item[0]) : -1;
    int low = item.size() == 2 ? HexDigit(item[1]) : -1;
    if (high < 0 || low < 0) Fail("bad hex byte \"" + item + "\"");
    bytes += static_cast<char>(high * 16 + low);
    if (bytes.size() > kMaxValueBytes) Fail("value larger than 1 MiB");
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return bytes;
}

// Strings given as bytes: UTF-16LE in a version 5 export, the 8-bit code page
// in a REGEDIT4 one.
std::string ExportParser::BytesAsText(const std::string& bytes) const {
  if (!wide_) return Windows1252Text(bytes);
  if (bytes.size() % 2 != 0) Fail("odd number of bytes in a UTF-16 string value");
  std::string text;
  if (!NarrowText(Utf16LeUnits(bytes, 0), text)) Fail("string value that is not valid UTF-16");
  return text;
}

}  // namespace

RegistryNode* RegistryNode::FindSubkey(const std::string& name) const {
  auto it = subkeys_.find(CaseFoldedText(name));
  return it == subkeys_.end() ? nullptr : it->second.get();
}

RegistryNode& RegistryNode::CreateSubkey(const std::string& name) {
  std::unique_ptr<RegistryNode>& node = subkeys_[CaseFoldedText(name)];
  if (!node) node = std::make_unique<RegistryNode>();
  return *node;
}

void RegistryNode::DeleteSubkey(const std::string& name) {
  subkeys_.erase(CaseFoldedText(name));
}

const RegistryValue* RegistryNode::FindValue(const std::string& name) const {
  for (const RegistryValue& value : values_) {
    if (EqualsIgnoringCase(value.name, name)) return &value;
  }
  return nullptr;
}

void RegistryNode::SetValue(RegistryValue value) {
  for (RegistryValue& existing : values_) {
    if (EqualsIgnoringCase(existing.name, value.name)) {
      existing.type = value.type;
      existing.data = std::move(value.data);
      return;
    }
  }
  values_.push_back(std::move(value));
}

void RegistryNode::DeleteValue(const std::string& name) {
  std::erase_if(values_,
                [&](const RegistryValue& value) { return EqualsIgnoringCase(value.name, name); });
}

std::unique_ptr<RegistryNode> ReadRegistryExport(const std::string& path) {
  std::optional<std::string> bytes = ReadBoundedFile(path, kMaxExportBytes);
  if (!bytes) throw ExceptionBase("Cannot read registry export '" + path + "'");
  bool wide = bytes->size() >= 2 && (*bytes)[0] == '\xFF' && (*bytes)[1] == '\xFE';
  std::string text;
  if (wide) {
    if (bytes->size() % 2 != 0) {
      throw ExceptionBase("Registry export '" + path +
                          "' is truncated: it ends in half a UTF-16 unit");
    }
    if (!NarrowText(Utf16LeUnits(*bytes, 2), text)) {
      throw ExceptionBase("Registry export '" + path + "' is not valid UTF-16");
    }
  } else {
    text = Windows1252Text(*bytes);
  }
  return ExportParser(path, wide).Parse(text);
}
