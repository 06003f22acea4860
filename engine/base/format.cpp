#include "engine/base/format.h"

#include <cstdio>

#include "engine/base/utf.h"

namespace Nimbra::Lexora {

long long FormatArg::AsSigned() const {
  switch (kind_) {
    case Kind::Signed:
      return signed_;
    case Kind::Unsigned:
      return static_cast<long long>(unsigned_);
    default:
      return 0;
  }
}

unsigned long long FormatArg::AsUnsigned() const {
  switch (kind_) {
    case Kind::Signed:
      return static_cast<unsigned long long>(signed_);
    case Kind::Unsigned:
      return unsigned_;
    default:
      return 0;
  }
}

std::u16string FormatArg::AsWide() const {
  switch (kind_) {
    case Kind::Wide:
      return std::u16string(wide_);
    case Kind::Narrow:
      return Utf8ToUtf16(narrow_);
    case Kind::Signed:
      return Utf8ToUtf16(std::to_string(signed_));
    case Kind::Unsigned:
      return Utf8ToUtf16(std::to_string(unsigned_));
  }
  return {};
}

std::string FormatArg::AsNarrow() const {
  switch (kind_) {
    case Kind::Narrow:
      return std::string(narrow_);
    case Kind::Wide:
      return Utf16ToUtf8(wide_);
    case Kind::Signed:
      return std::to_string(signed_);
    case Kind::Unsigned:
      return std::to_string(unsigned_);
  }
  return {};
}

namespace {

// One parsed conversion: "%" flags width .precision length conversion.
struct Conversion {
  std::string flags;
  int width = -1;
  int precision = -1;
  bool wideLength = false;  // the l prefix on c and s
  char type = 0;
};

template <class Char>
bool IsDigit(Char c) {
  return c >= Char('0') && c <= Char('9');
}

// Parses the conversion starting after '%'; returns the index after it, or
// npos when the text is not a complete conversion.
template <class Char>
size_t ParseSpec(std::basic_string_view<Char> f, size_t i, Conversion& conversion) {
  while (i < f.size() && (f[i] == Char('-') || f[i] == Char('+') || f[i] == Char(' ') ||
                          f[i] == Char('#') || f[i] == Char('0'))) {
    conversion.flags.push_back(static_cast<char>(f[i++]));
  }
  auto readNumber = [&](int& out) {
    out = 0;
    while (i < f.size() && IsDigit(f[i])) out = out * 10 + static_cast<int>(f[i++] - Char('0'));
  };
  if (i < f.size() && IsDigit(f[i])) readNumber(conversion.width);
  if (i < f.size() && f[i] == Char('.')) {
    ++i;
    readNumber(conversion.precision);
  }
  while (i < f.size() && (f[i] == Char('l') || f[i] == Char('h') || f[i] == Char('z') ||
                          f[i] == Char('j') || f[i] == Char('t'))) {
    if (f[i] == Char('l')) conversion.wideLength = true;
    ++i;
  }
  if (i >= f.size()) return std::u16string_view::npos;
  conversion.type = static_cast<char>(f[i]);
  return i + 1;
}

std::string FormatNumber(const Conversion& conversion, const FormatArg& arg) {
  std::string printfFormat = "%" + conversion.flags;
  if (conversion.width >= 0) printfFormat += std::to_string(conversion.width);
  if (conversion.precision >= 0) {
    printfFormat += '.';
    printfFormat += std::to_string(conversion.precision);
  }
  printfFormat += "ll";
  printfFormat += conversion.type;
  char buffer[96];
  int n = (conversion.type == 'd' || conversion.type == 'i')
              ? std::snprintf(buffer, sizeof buffer, printfFormat.c_str(), arg.AsSigned())
              : std::snprintf(buffer, sizeof buffer, printfFormat.c_str(), arg.AsUnsigned());
  if (n < 0) return {};
  return std::string(buffer, std::min<size_t>(static_cast<size_t>(n), sizeof buffer - 1));
}

template <class Char>
std::basic_string<Char> FromNarrowAscii(const std::string& s) {
  return std::basic_string<Char>(s.begin(), s.end());
}

template <class Char>
std::basic_string<Char> TextOf(const FormatArg& arg) {
  if constexpr (sizeof(Char) == 2) {
    return arg.AsWide();
  } else {
    return arg.AsNarrow();
  }
}

template <class Char>
std::basic_string<Char> CharacterOf(const Conversion& conversion, const FormatArg& arg) {
  char16_t unit = static_cast<char16_t>(arg.AsUnsigned());
  if constexpr (sizeof(Char) == 2) {
    return std::u16string(1, unit);
  } else {
    if (!conversion.wideLength) return std::string(1, static_cast<char>(unit));
    return Utf16ToUtf8(std::u16string_view(&unit, 1));
  }
}

template <class Char>
void AppendPadded(std::basic_string<Char>& out, std::basic_string<Char> text,
                  const Conversion& conversion) {
  if (conversion.precision >= 0 && text.size() > static_cast<size_t>(conversion.precision)) {
    text.resize(conversion.precision);
  }
  size_t pad = conversion.width > 0 && text.size() < static_cast<size_t>(conversion.width)
                   ? static_cast<size_t>(conversion.width) - text.size()
                   : 0;
  bool left = conversion.flags.find('-') != std::string::npos;
  if (!left) out.append(pad, Char(' '));
  out += text;
  if (left) out.append(pad, Char(' '));
}

template <class Char>
std::basic_string<Char> FormatImpl(std::basic_string_view<Char> f,
                                   std::initializer_list<FormatArg> args) {
  std::basic_string<Char> out;
  out.reserve(f.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < f.size();) {
    if (f[i] != Char('%')) {
      out.push_back(f[i++]);
      continue;
    }
    Conversion conversion;
    size_t end = ParseSpec(f, i + 1, conversion);
    if (end == std::u16string_view::npos) {  // a lone '%' at the end stays as it is
      out.append(f.substr(i));
      break;
    }
    if (conversion.type == '%') {
      out.push_back(Char('%'));
      i = end;
      continue;
    }
    static const FormatArg kMissing(0);
    const FormatArg& arg = next != args.end() ? *next++ : kMissing;
    switch (conversion.type) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        out += FromNarrowAscii<Char>(FormatNumber(conversion, arg));
        break;
      case 's':
        AppendPadded<Char>(out, TextOf<Char>(arg), conversion);
        break;
      case 'c':
        AppendPadded<Char>(out, CharacterOf<Char>(conversion, arg), conversion);
        break;
      default:  // unknown conversions are copied, not interpreted
        out.append(f.substr(i, end - i));
        break;
    }
    i = end;
  }
  return out;
}

}  // namespace

std::u16string FormatWide(std::u16string_view format, std::initializer_list<FormatArg> args) {
  return FormatImpl<char16_t>(format, args);
}

std::string FormatNarrow(std::string_view format, std::initializer_list<FormatArg> args) {
  return FormatImpl<char>(format, args);
}

std::u16string CutToCapacity(std::u16string text, size_t capacity) {
  if (capacity > 0 && text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

}  // namespace Nimbra::Lexora
