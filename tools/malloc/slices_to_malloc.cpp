// GLib's slice allocator keeps small blocks in per-thread magazines that it
// refills and empties under one global lock, which two threads reading mail
// contend for. mimalloc's heaps are per thread already, so GLib passes its
// slices straight to malloc instead: about a tenth less CPU time.
// GLib fixes the choice when it makes its first block, which its own start-up
// code does before main; the entries of a program's pre-initialisation array
// run before any library's initialisers, and this call only sets a flag.
#define GLIB_DISABLE_DEPRECATION_WARNINGS  // the call is gone with the allocator
#include <glib.h>

namespace {

void SlicesToMalloc(int, char**, char**) {
  g_slice_set_config(G_SLICE_CONFIG_ALWAYS_MALLOC, TRUE);
}

[[gnu::section(".preinit_array"), gnu::used]] void (*const slicesToMalloc)(int, char**,
                                                                           char**) = SlicesToMalloc;

}  // namespace
