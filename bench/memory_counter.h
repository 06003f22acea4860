// Live heap bytes of the benchmark process, counted by replacing the global
// allocation functions.
#ifndef LEXORA_BENCH_MEMORY_COUNTER_H
#define LEXORA_BENCH_MEMORY_COUNTER_H

#include <cstdint>

namespace lexora_bench {

int64_t LiveHeapBytes();
int64_t PeakHeapBytes();
void ResetPeakHeapBytes();

}  // namespace lexora_bench

#endif  // LEXORA_BENCH_MEMORY_COUNTER_H
