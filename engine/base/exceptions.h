// The engine's error family. Errors are thrown inside the library and turned
// into results (a false return plus a stored message) at its boundary.
#ifndef LEXORA_ENGINE_BASE_EXCEPTIONS_H
#define LEXORA_ENGINE_BASE_EXCEPTIONS_H

#include <cstdint>
#include <string>

#include "engine/base/format.h"

namespace Nimbra::Lexora {

class LXException {
 public:
  template <class... Args>
  explicit LXException(std::u16string_view format, const Args&... args)
      : message_(CutToCapacity(Format(format, args...), kMessageCapacity)) {}
  virtual ~LXException() = default;
  virtual const char16_t* what() const noexcept { return message_.c_str(); }
  const std::u16string& message() const { return message_; }

 protected:
  LXException() = default;
  std::u16string message_;
};

// A script text error. The message starts with "Line %d, column %d: " once
// both parts of the position are known; restating the position replaces
// that prefix rather than adding a second one.
class SyntaxError : public LXException {
 public:
  template <class... Args>
  explicit SyntaxError(std::u16string_view format, const Args&... args)
      : LXException(format, args...) {}

  template <class... Args>
  static SyntaxError AtColumn(int32_t column, std::u16string_view format, const Args&... args) {
    SyntaxError e(format, args...);
    e.column_ = column;
    return e;
  }

  template <class... Args>
  static SyntaxError At(int32_t line, int32_t column, std::u16string_view format,
                        const Args&... args) {
    SyntaxError e(format, args...);
    e.Place(line, column);
    return e;
  }

  int32_t line() const { return line_; }
  int32_t column() const { return column_; }
  uint32_t prefixLength() const { return prefixLength_; }
  // Sets the position and, when both parts are known, rewrites the prefix.
  void Place(int32_t line, int32_t column);

 private:
  int32_t line_ = -1;
  int32_t column_ = -1;
  uint32_t prefixLength_ = 0;
};

class RuntimeError : public LXException {
 public:
  template <class... Args>
  explicit RuntimeError(std::u16string_view format, const Args&... args)
      : LXException(format, args...) {}
};

// A stack-machine error about one code address; the message starts "%08x: ".
class VMError : public LXException {
 public:
  template <class... Args>
  VMError(uint32_t address, std::u16string_view format, const Args&... args) {
    message_ =
        CutToCapacity(Format(u"%08x: ", address) + Format(format, args...), kMessageCapacity);
  }
};

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_BASE_EXCEPTIONS_H
