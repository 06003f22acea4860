// A program linked as the command line is: GLib must hand its small blocks
// to malloc from before main, whatever G_SLICE says. Exits 0 when it does.
#define GLIB_DISABLE_DEPRECATION_WARNINGS
#include <glib.h>

#include <cstdio>

int main() {
  if (!g_slice_get_config(G_SLICE_CONFIG_ALWAYS_MALLOC)) {
    std::fprintf(stderr, "GLib's slice allocator keeps its own magazines\n");
    return 1;
  }
  void* block = g_slice_alloc(24);  // served, and freed, through malloc
  g_slice_free1(24, block);
  return 0;
}
