// The library's C entry points. Nothing thrown inside the engine crosses
// them: failures become null, false or a result code.
#include <new>
#include <string>

#include "engine/api/script_impl.h"
#include "engine/base/library_state.h"
#include "engine/base/utf.h"
#include "engine/convert/line_converter.h"
#include "engine/debug/debugger_impl.h"
#include "engine/diag/fault_translation.h"
#include "engine/input/file_stream.h"
#include "engine/input/string_stream.h"
#include "lexora2/lexora2.h"

using namespace Nimbra::Lexora;

namespace {

template <class Object, class... Args>
ILXStream* NewStream(Args&&... args) {
  if (!IsLibraryInitialized()) return nullptr;
  Object* object = new (std::nothrow) Object(std::forward<Args>(args)...);
  return object ? object->AsInterface() : nullptr;
}

ILXStream* OpenFileStream(const std::string& path, const char* encoding) {
  if (!IsLibraryInitialized()) return nullptr;
  FileStream* stream = new (std::nothrow) FileStream();
  if (stream == nullptr) return nullptr;
  bool opened = false;
  try {
    opened = GuardFaults("CreateFileStream", [&] { return stream->Open(path, encoding); });
  } catch (...) {
    opened = false;
  }
  if (!opened) {
    stream->Release();
    return nullptr;
  }
  return stream->AsInterface();
}

}  // namespace

extern "C" {

int32_t GetLXAPIVersion() {
  return 1;
}

LXVersionInfo* LXGetVersionInfo(LXVersionInfo* info) {
  if (info == nullptr) return nullptr;
  *info = {2, 0, 3, 67};
  return info;
}

bool LXInitialize() {
  InitializeLibrary();
  AcquireFaultTranslation();
  return true;
}

void LXCleanUp() {
  if (CleanUpLibrary()) ReleaseFaultTranslation();
}

void LXEnableStats() {}
void LXSetStatsNote() {}
void LXWriteStats() {}

int32_t LXConvertLine(const char16_t* line, int32_t score, int32_t weighting, char16_t* output,
                      uint32_t* outputLength, char16_t* message, uint32_t* messageLength) {
  return ConvertLine(line, score, weighting, output, outputLength, message, messageLength);
}

ILXScript* CreateLXScript() {
  if (!IsLibraryInitialized()) return nullptr;
  LXScriptImpl* script = new (std::nothrow) LXScriptImpl();
  return script ? script->AsInterface() : nullptr;
}

// Needs no LXInitialize: only its commands that read text do.
ILXDebugger* CreateLXDebugger() {
  LXDebuggerImpl* debugger = new (std::nothrow) LXDebuggerImpl();
  return debugger ? debugger->AsInterface() : nullptr;
}

ILXStream* CreateStringStream(const char16_t* text, uint32_t length) {
  if (text == nullptr && length != 0) return nullptr;
  return NewStream<StringStream>(text, length);
}

ILXStream* CreateStringCopyStream(const char16_t* text, uint32_t length) {
  if (text == nullptr && length != 0) return nullptr;
  try {
    return NewStream<StringCopyStream>(text, length);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ILXStream* CreateFileStream(const char* path) {
  return CreateFileStreamWithEncoding(path, nullptr);
}

ILXStream* CreateFileStreamU(const char16_t* path) {
  return CreateFileStreamWithEncodingU(path, nullptr);
}

ILXStream* CreateFileStreamWithEncoding(const char* path, const char* encoding) {
  if (path == nullptr) return nullptr;
  return OpenFileStream(path, encoding);
}

ILXStream* CreateFileStreamWithEncodingU(const char16_t* path, const char* encoding) {
  if (path == nullptr) return nullptr;
  std::optional<std::string> narrow = Utf16PathToUtf8(std::u16string_view(path, Utf16Length(path)));
  return narrow ? OpenFileStream(*narrow, encoding) : nullptr;
}

}  // extern "C"
