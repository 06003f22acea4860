// Memory figures of this process, from glibc and /proc.
#ifndef LEXORA_BENCH_COMPARE_PROCESS_MEMORY_H
#define LEXORA_BENCH_COMPARE_PROCESS_MEMORY_H

#include <cstdint>

namespace lexora_compare {

// Bytes of heap in use, all arenas and mapped blocks included.
int64_t HeapInUseBytes();

// Resident set size now and its peak; -1 when /proc cannot tell.
int64_t ResidentBytes();
int64_t PeakResidentBytes();

// Restarts the peak at the current resident size; false when the kernel
// refuses.
bool ResetPeakResident();

}  // namespace lexora_compare

#endif  // LEXORA_BENCH_COMPARE_PROCESS_MEMORY_H
