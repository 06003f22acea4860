// printf-style formatting for engine messages, listings and logs.
//
// Arguments are type-checked at the call site (no varargs), so a message
// format can never read an argument of the wrong type. Conversions follow
// printf: flags, width, precision and the d i u x X o c s % conversions, with
// the l prefix selecting UTF-16 for c and s ("%ls", "%lc").
#ifndef LEXORA_ENGINE_BASE_FORMAT_H
#define LEXORA_ENGINE_BASE_FORMAT_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace Nimbra::Lexora {

class FormatArg {
 public:
  enum class Kind { Signed, Unsigned, Wide, Narrow };

  FormatArg(int v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(long v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(long long v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(unsigned v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(unsigned long v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(unsigned long long v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(char16_t v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(char v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(const char16_t* v) : kind_(Kind::Wide), wide_(v ? v : u"(null)") {}
  FormatArg(std::u16string_view v) : kind_(Kind::Wide), wide_(v) {}
  FormatArg(const std::u16string& v) : kind_(Kind::Wide), wide_(v) {}
  FormatArg(const char* v) : kind_(Kind::Narrow), narrow_(v ? v : "(null)") {}
  FormatArg(std::string_view v) : kind_(Kind::Narrow), narrow_(v) {}
  FormatArg(const std::string& v) : kind_(Kind::Narrow), narrow_(v) {}

  Kind kind() const { return kind_; }
  long long AsSigned() const;
  unsigned long long AsUnsigned() const;
  std::u16string AsWide() const;
  std::string AsNarrow() const;

 private:
  Kind kind_;
  long long signed_ = 0;
  unsigned long long unsigned_ = 0;
  std::u16string_view wide_;
  std::string_view narrow_;
};

// Formats into UTF-16.
std::u16string FormatWide(std::u16string_view format, std::initializer_list<FormatArg> args);
// Formats into UTF-8; "%ls" arguments are converted from UTF-16.
std::string FormatNarrow(std::string_view format, std::initializer_list<FormatArg> args);

template <class... Args>
std::u16string Format(std::u16string_view format, const Args&... args) {
  return FormatWide(format, {FormatArg(args)...});
}

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
  return FormatNarrow(format, {FormatArg(args)...});
}

// Engine messages are formatted into 512 code units: at most 511 are kept.
inline constexpr size_t kMessageCapacity = 512;
std::u16string CutToCapacity(std::u16string text, size_t capacity);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_FORMAT_H
