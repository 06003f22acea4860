// Owns one reference to an engine object and releases it.
#ifndef LEXORA_TOOLS_LEXORA_STREAM_HANDLE_H
#define LEXORA_TOOLS_LEXORA_STREAM_HANDLE_H

#include <memory>

#include "lexora2/lexora2.h"

namespace lexora_cli {

struct ReleaseObject {
  void operator()(ILXObject* object) const {
    if (object) object->Release();
  }
};

template <class Interface>
using Handle = std::unique_ptr<Interface, ReleaseObject>;
using StreamHandle = Handle<ILXStream>;

}  // namespace lexora_cli

#endif  // LEXORA_TOOLS_LEXORA_STREAM_HANDLE_H
