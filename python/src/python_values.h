// Python values as the engine takes them: text to and from UTF-16, bytes-like
// objects as one block of memory; and the package's own exceptions.
#ifndef LEXORA_PYTHON_PYTHON_VALUES_H
#define LEXORA_PYTHON_PYTHON_VALUES_H

#include <pybind11/pybind11.h>

#include <string>

namespace lexora_python {

namespace py = pybind11;

// The code units of a str; lone surrogates pass through as themselves.
std::u16string ToUtf16(const py::str& text);
// A str of UTF-16 text; lone surrogates stay lone surrogates.
py::str FromUtf16(const char16_t* text, size_t length);
py::str FromUtf16(const std::u16string& text);

// The contiguous bytes of a bytes-like object, which cannot be resized while
// the view lives. Made and destroyed with the GIL held.
class ByteView {
 public:
  explicit ByteView(const py::handle& object);
  ~ByteView() { PyBuffer_Release(&view_); }
  ByteView(const ByteView&) = delete;
  ByteView& operator=(const ByteView&) = delete;

  const void* data() const { return view_.buf; }
  size_t size() const { return static_cast<size_t>(view_.len); }

 private:
  Py_buffer view_;
};

// An instance of the package's exception lexora.<name>(*args).
py::object PackageError(const char* name, const py::tuple& args);
// Raises an exception instance through the C++ caller.
[[noreturn]] void Raise(const py::object& error);

}  // namespace lexora_python

#endif  // LEXORA_PYTHON_PYTHON_VALUES_H
