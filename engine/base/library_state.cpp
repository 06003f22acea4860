#include "engine/base/library_state.h"

#include <atomic>
#include <cstdint>

#include "engine/base/unit_roles.h"

namespace Nimbra::Lexora {
namespace {
std::atomic<int32_t> g_initializeCount{0};
}

void InitializeLibrary() {
  if (g_initializeCount.load(std::memory_order_acquire) == 0) BuildUnitRoles();
  g_initializeCount.fetch_add(1, std::memory_order_acq_rel);
}

// An unbalanced clean-up must not drive the counter negative: a negative
// count would read as initialised.
bool CleanUpLibrary() {
  int32_t count = g_initializeCount.load(std::memory_order_acquire);
  while (count > 0) {
    if (g_initializeCount.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel)) {
      return true;
    }
  }
  return false;
}

bool IsLibraryInitialized() {
  return g_initializeCount.load(std::memory_order_acquire) > 0;
}

}  // namespace Nimbra::Lexora
