// The extension module lexora._lexora; the package lexora re-exports it.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <optional>
#include <system_error>

#include "engine/input/file_stream.h"
#include "python/src/mail_scan.h"
#include "python/src/memory_file.h"
#include "python/src/python_values.h"
#include "python/src/script.h"

namespace lexora_python {
namespace {

py::object ScanErrorOf(const ScanFailure& failure, const py::object& path) {
  return PackageError("ScanError", py::make_tuple(FromUtf16(failure.reason), path));
}

// The label a message of bytes read as mail goes by.
constexpr char kBytesName[] = "<bytes>";

void RejectEncodingForMail(const std::optional<std::string>& encoding) {
  if (encoding) {
    throw py::value_error("an encoding does not apply to mail, whose parts name their charsets");
  }
}

// One result or ScanError per message, in file order.
py::list MailResults(std::vector<MailOutcome>&& outcomes) {
  py::object fsdecode = py::module_::import("os").attr("fsdecode");
  py::list results;
  for (MailOutcome& o : outcomes) {
    if (auto* result = std::get_if<ScanResult>(&o.outcome)) {
      results.append(py::cast(std::move(*result)));
    } else {
      results.append(ScanErrorOf(std::get<ScanFailure>(o.outcome), fsdecode(py::bytes(o.label))));
    }
  }
  return results;
}

// Hands each message of mail bytes or a mail file to `sink`, which runs
// without the GIL.
void ReadMailObject(const py::object& data, const lexora_mail::MessageSink& sink) {
  if (py::isinstance<py::str>(data)) {
    throw py::type_error("mail is read from bytes or a path, not from str");
  }
  if (PyObject_CheckBuffer(data.ptr())) {
    ByteView bytes(data);
    py::gil_scoped_release unlocked;
    lexora_mail::ReadMailBytes(
        std::string_view(static_cast<const char*>(bytes.data()), bytes.size()), kBytesName, {},
        sink);
    return;
  }
  std::string path = py::bytes(py::module_::import("os").attr("fsencode")(data));
  py::gil_scoped_release unlocked;
  lexora_mail::ReadMailFile(path, {}, sink);
}

// With mail=True: a list of per-message results.
py::list ScanMail(Script& script, const py::object& data,
                  const std::optional<std::string>& encoding) {
  RejectEncodingForMail(encoding);
  std::vector<MailOutcome> outcomes;
  ReadMailObject(data, MessageScanner(script, outcomes));
  return MailResults(std::move(outcomes));
}

// The text the rules see in each message: MailMessage(label, text, error).
py::list ReadMail(const py::object& data) {
  std::vector<lexora_mail::MailMessage> messages;
  ReadMailObject(data, [&](lexora_mail::MailMessage&& m) { messages.push_back(std::move(m)); });
  py::object fsdecode = py::module_::import("os").attr("fsdecode");
  py::object record = py::module_::import("lexora._types").attr("MailMessage");
  py::list result;
  for (const lexora_mail::MailMessage& m : messages) {
    py::object label = fsdecode(py::bytes(m.label));
    if (m.ok) {
      result.append(record(label, FromUtf16(m.text), py::none()));
    } else {
      result.append(record(label, py::none(), py::str(m.error)));
    }
  }
  return result;
}

// The scan's view of a Python object: bytes-like objects are file contents,
// str is text, anything else a path (os.PathLike, with os.fsencode's bytes).
ScanResult ScanOne(Script& script, const py::object& data,
                   const std::optional<std::string>& encoding) {
  try {
    if (py::isinstance<py::str>(data)) {
      if (encoding) throw py::type_error("an encoding applies to bytes and files, not to str");
      std::u16string text = ToUtf16(data);
      py::gil_scoped_release unlocked;
      return script.ScanText(text);
    }
    const std::string hint = encoding.value_or("");
    if (PyObject_CheckBuffer(data.ptr())) {
      ByteView bytes(data);
      py::gil_scoped_release unlocked;
      MemoryFile file(bytes.data(), bytes.size());
      return script.ScanFile(file.path(), hint);
    }
    py::object os = py::module_::import("os");
    std::string path = py::bytes(os.attr("fsencode")(data));
    py::gil_scoped_release unlocked;
    return script.ScanFile(path, hint);
  } catch (const ScanFailure& failure) {
    py::object path = py::none();
    if (!py::isinstance<py::str>(data) && !PyObject_CheckBuffer(data.ptr())) {
      path = py::module_::import("os").attr("fspath")(data);
    }
    Raise(ScanErrorOf(failure, path));
  } catch (const std::system_error& error) {
    errno = error.code().value();
    PyErr_SetFromErrno(PyExc_OSError);
    throw py::error_already_set();
  }
}

py::object ScanObject(Script& script, const py::object& data,
                      const std::optional<std::string>& encoding, bool mail) {
  if (mail) return ScanMail(script, data, encoding);
  return py::cast(ScanOne(script, data, encoding));
}

// Many files in one call, the GIL released once: a list of results, with a
// ScanError in the place of each file that could not be scanned.
// With mail=True, one per message: an mbox gives several.
py::list ScanFiles(Script& script, const py::sequence& paths,
                   const std::optional<std::string>& encoding, bool mail) {
  if (mail) RejectEncodingForMail(encoding);
  py::object fsencode = py::module_::import("os").attr("fsencode");
  std::vector<std::string> names;
  names.reserve(paths.size());
  for (const py::handle& path : paths) names.push_back(py::bytes(fsencode(path)));
  if (mail) {
    std::vector<MailOutcome> outcomes;
    {
      py::gil_scoped_release unlocked;
      outcomes = ScanMailFiles(script, names);
    }
    return MailResults(std::move(outcomes));
  }
  std::vector<ScanOutcome> outcomes;
  {
    py::gil_scoped_release unlocked;
    outcomes = script.ScanFiles(names, encoding.value_or(""));
  }
  py::object fspath = py::module_::import("os").attr("fspath");
  py::list results;
  for (size_t i = 0; i < outcomes.size(); ++i) {
    if (auto* result = std::get_if<ScanResult>(&outcomes[i])) {
      results.append(py::cast(std::move(*result)));
    } else {
      results.append(ScanErrorOf(std::get<ScanFailure>(outcomes[i]), fspath(paths[i])));
    }
  }
  return results;
}

std::unique_ptr<Script> CompileScript(const py::str& text) {
  std::u16string units = ToUtf16(text);
  std::vector<std::u16string> errors;
  std::unique_ptr<Script> script;
  {
    py::gil_scoped_release unlocked;
    script = std::make_unique<Script>(units, errors);
  }
  if (!errors.empty()) {
    py::list messages;
    for (const std::u16string& e : errors) messages.append(FromUtf16(e));
    Raise(PackageError("CompileError", py::make_tuple(messages)));
  }
  return script;
}

py::list Expressions(const Script& script) {
  py::list names;
  for (const std::u16string& name : script.expressions()) names.append(FromUtf16(name));
  return names;
}

// The encoding a file stream would read these bytes in.
std::string Detect(const py::object& data) {
  ByteView bytes(data);
  std::string chosen;
  UConverter* converter = Nimbra::Lexora::OpenConverterForSample(
      static_cast<const uint8_t*>(bytes.data()),
      std::min(bytes.size(), Nimbra::Lexora::kSampleSize), nullptr, &chosen);
  if (converter == nullptr) throw std::runtime_error("no converter opens for these bytes");
  ucnv_close(converter);
  return chosen;
}

// LXConvertLine with its size-and-retry protocol: (code, statement, message).
py::tuple ConvertLine(const py::str& line, int32_t score, int32_t weighting) {
  std::u16string wide = ToUtf16(line);
  std::u16string output(256, u'\0'), message(256, u'\0');
  int32_t code = 3;
  for (int attempt = 0; attempt < 2 && code == 3; ++attempt) {
    uint32_t outputLength = static_cast<uint32_t>(output.size());
    uint32_t messageLength = static_cast<uint32_t>(message.size());
    code = LXConvertLine(wide.c_str(), score, weighting, output.data(), &outputLength,
                         message.data(), &messageLength);
    output.resize(std::max<uint32_t>(outputLength, 1));
    message.resize(std::max<uint32_t>(messageLength, 1));
  }
  auto text = [](const std::u16string& buffer) {
    return FromUtf16(buffer.c_str(), std::char_traits<char16_t>::length(buffer.c_str()));
  };
  return py::make_tuple(code, text(output), text(message));
}

}  // namespace
}  // namespace lexora_python

PYBIND11_MODULE(_lexora, module) {
  using namespace lexora_python;
  LXInitialize();  // balanced by nothing: the library frees nothing at clean-up
  module.attr("__version__") = LEXORA_VERSION;
  LXVersionInfo library{};
  LXGetVersionInfo(&library);
  module.attr("library_version") =
      py::make_tuple(library.major, library.minor, library.release, library.build);

  py::class_<ScanResult>(module, "ScanResult")
      .def_readonly("score", &ScanResult::score)
      .def_property_readonly(
          "label",
          [](const ScanResult& r) -> py::object {
            if (r.label.empty()) return py::none();
            return py::module_::import("os").attr("fsdecode")(py::bytes(r.label));
          })
      .def_property_readonly(
          "hits",
          [](const ScanResult& r) {
            py::object hit = py::module_::import("lexora._types").attr("Hit");
            py::list hits;
            for (const Hit& h : r.hits) {
              hits.append(hit(h.index, FromUtf16((*r.names)[h.index]), h.hits, h.score));
            }
            return hits;
          })
      .def(
          "report",
          [](const ScanResult& r, bool quote) {
            return FromUtf16(quote ? r.quotedReport : r.report);
          },
          py::arg("quote") = false)
      .def("__repr__", [](const ScanResult& r) {
        return "<lexora.ScanResult score=" + std::to_string(r.score) +
               " hits=" + std::to_string(r.hits.size()) + ">";
      });

  py::class_<Script>(module, "Script")
      .def(py::init(&CompileScript), py::arg("text"))
      .def_property_readonly("expressions", &Expressions)
      .def("scan", &ScanObject, py::arg("data"), py::arg("encoding") = py::none(),
           py::arg("mail") = false)
      .def("scan_files", &ScanFiles, py::arg("paths"), py::arg("encoding") = py::none(),
           py::arg("mail") = false);

  module.def("detect", &Detect, py::arg("data"));
  module.def("read_mail", &ReadMail, py::arg("data"));
  module.def("_convert_line", &ConvertLine, py::arg("line"), py::arg("score"),
             py::arg("weighting"));
}
