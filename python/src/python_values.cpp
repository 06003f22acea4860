#include "python/src/python_values.h"

#include <cstring>

namespace lexora_python {

std::u16string ToUtf16(const py::str& text) {
  py::object encoded = py::reinterpret_steal<py::object>(
      PyUnicode_AsEncodedString(text.ptr(), "utf-16-le", "surrogatepass"));
  if (!encoded) throw py::error_already_set();
  char* bytes = nullptr;
  Py_ssize_t size = 0;
  PyBytes_AsStringAndSize(encoded.ptr(), &bytes, &size);
  std::u16string units(static_cast<size_t>(size) / 2, u'\0');
  std::memcpy(units.data(), bytes, units.size() * 2);
  return units;
}

py::str FromUtf16(const char16_t* text, size_t length) {
  int byteorder = -1;  // little-endian, as the code units are in memory here
  PyObject* decoded =
      PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(text),
                            static_cast<Py_ssize_t>(length * 2), "surrogatepass", &byteorder);
  if (!decoded) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(decoded);
}

py::str FromUtf16(const std::u16string& text) {
  return FromUtf16(text.data(), text.size());
}

ByteView::ByteView(const py::handle& object) {
  if (PyObject_GetBuffer(object.ptr(), &view_, PyBUF_SIMPLE) != 0) throw py::error_already_set();
}

py::object PackageError(const char* name, const py::tuple& args) {
  return py::module_::import("lexora._types").attr(name)(*args);
}

void Raise(const py::object& error) {
  PyErr_SetObject(error.get_type().ptr(), error.ptr());
  throw py::error_already_set();
}

}  // namespace lexora_python
