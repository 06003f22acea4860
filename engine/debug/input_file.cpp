#include "engine/debug/input_file.h"

#include "engine/base/exceptions.h"
#include "engine/base/library_state.h"
#include "engine/input/file_stream.h"

namespace Nimbra::Lexora {

InputFile OpenInputFile(const std::string& path) {
  if (!IsLibraryInitialized()) throw RuntimeError(u"Lexora library has not been initialized.");
  FileStream* file = new FileStream();
  InputFile stream(file->AsInterface());
  try {
    if (!file->Open(path, nullptr)) return nullptr;
  } catch (const LXException&) {
    return nullptr;
  }
  return stream;
}

}  // namespace Nimbra::Lexora
