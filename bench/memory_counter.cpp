#include "bench/memory_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace lexora_bench {
namespace {
std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};
}  // namespace

int64_t LiveHeapBytes() {
  return g_live.load();
}
int64_t PeakHeapBytes() {
  return g_peak.load();
}
void ResetPeakHeapBytes() {
  g_peak.store(g_live.load());
}

static void* Allocate(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  int64_t live = g_live += static_cast<int64_t>(malloc_usable_size(p));
  int64_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return p;
}

static void Free(void* p) {
  if (!p) return;
  g_live -= static_cast<int64_t>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace lexora_bench

void* operator new(std::size_t size) {
  return lexora_bench::Allocate(size);
}
void* operator new[](std::size_t size) {
  return lexora_bench::Allocate(size);
}
void operator delete(void* p) noexcept {
  lexora_bench::Free(p);
}
void operator delete[](void* p) noexcept {
  lexora_bench::Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  lexora_bench::Free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  lexora_bench::Free(p);
}
