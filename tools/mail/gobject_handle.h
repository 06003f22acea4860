// Owns one reference to a GObject (GMime's objects) and drops it.
#ifndef LEXORA_TOOLS_MAIL_GOBJECT_HANDLE_H
#define LEXORA_TOOLS_MAIL_GOBJECT_HANDLE_H

#include <glib-object.h>

#include <memory>

namespace lexora_mail {

struct UnrefObject {
  void operator()(void* object) const {
    if (object) g_object_unref(object);
  }
};

template <class T>
using GObjectHandle = std::unique_ptr<T, UnrefObject>;

}  // namespace lexora_mail

#endif  // LEXORA_TOOLS_MAIL_GOBJECT_HANDLE_H
